#include "herd/HerdDate.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace HerdDate {

namespace {

// Longer than any date anyone types: the rest is not looked at.
constexpr qsizetype MaxDateChars = 40;

struct Token
{
    enum Kind { Number, Word, Separator } kind = Number;
    QStringView text;
};

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// No form this reader takes has more; a fixed list keeps reading a date off the heap.
constexpr int MaxTokens = 8;

struct Tokens
{
    std::array<Token, MaxTokens> items;
    int count = 0;

    bool append(Token t)
    {
        if (count == MaxTokens)
            return false;
        items[std::size_t(count++)] = t;
        return true;
    }
    int size() const { return count; }
    const Token &operator[](int i) const { return items[std::size_t(i)]; }
    const Token *begin() const { return items.data(); }
    const Token *end() const { return items.data() + count; }
};

// Splits into numbers, words and the separators "/", "-", "."; spaces and commas only
// part tokens. False for any other character, or more tokens than any date has.
bool tokenize(QStringView text, Tokens &tokens)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const QChar c = text.at(i);
        if (c == u' ' || c == u'\t' || c == u',') {
            ++i;
            continue;
        }
        if (c == u'/' || c == u'-' || c == u'.') {
            if (!tokens.append({Token::Separator, text.sliced(i, 1)}))
                return false;
            ++i;
            continue;
        }
        const bool digit = isAsciiDigit(c);
        if (!digit && !isAsciiLetter(c))
            return false;
        qsizetype end = i + 1;
        while (end < n && (digit ? isAsciiDigit(text.at(end)) : isAsciiLetter(text.at(end))))
            ++end;
        if (!tokens.append({digit ? Token::Number : Token::Word, text.sliced(i, end - i)}))
            return false;
        i = end;
    }
    return true;
}

int numberOf(QStringView digits)
{
    int value = 0;
    for (const QChar c : digits)
        value = value * 10 + (c.unicode() - u'0');
    return value;
}

// 1..12 for an English month name or its first three letters ("Sept" too), else 0.
int monthOf(QStringView word)
{
    static const std::array<const char *, 12> Names = {"january",   "february", "march",    "april",
                                                       "may",       "june",     "july",     "august",
                                                       "september", "october",  "november", "december"};
    const QString lower = word.toString().toLower();
    for (std::size_t m = 0; m < Names.size(); ++m) {
        const QLatin1String name(Names[m]);
        if (lower == name || (lower.size() == 3 && name.startsWith(lower)) || (m == 8 && lower == u"sept"))
            return int(m) + 1;
    }
    return 0;
}

bool isDayOrMonth(QStringView digits)
{
    return digits.size() == 1 || digits.size() == 2;
}

bool isYear(QStringView digits)
{
    return digits.size() == 2 || digits.size() == 4;
}

// Two digits are a year within the last hundred years of `today`.
int fullYear(QStringView digits, const QDate &today)
{
    const int year = numberOf(digits);
    if (digits.size() == 4)
        return year;
    const int base = today.isValid() ? today.year() : QDate::currentDate().year();
    return base - (((base - year) % 100) + 100) % 100;
}

} // namespace

Order defaultOrder(const QLocale &locale)
{
    // The C locale (a system with no language set) writes its dates month first
    // ("%x" is mm/dd/yy), whatever Qt's own short form for it says.
    if (locale.language() == QLocale::C)
        return Order::MonthFirst;
    // The first of d, M and y outside quoted text decides.
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        else if (!quoted && (c == u'd' || c == u'y'))
            return Order::DayFirst;
        else if (!quoted && c == u'M')
            return Order::MonthFirst;
    }
    return Order::DayFirst;
}

QString orderName(Order order)
{
    return order == Order::DayFirst ? QStringLiteral("Day before month") : QStringLiteral("Month before day");
}

QDate read(const QString &text, Order order, const QDate &today)
{
    const QStringView trimmed = QStringView(text).trimmed();
    Tokens tokens;
    if (trimmed.isEmpty() || trimmed.size() > MaxDateChars || !tokenize(trimmed, tokens))
        return {};

    // Numbers with one separator, used twice.
    const auto kindsAre = [&](std::initializer_list<Token::Kind> kinds) {
        return std::equal(tokens.begin(), tokens.end(), kinds.begin(), kinds.end(),
                          [](const Token &t, Token::Kind k) { return t.kind == k; });
    };
    using enum Token::Kind;
    if (kindsAre({Number, Separator, Number, Separator, Number})) {
        const QStringView a = tokens[0].text, b = tokens[2].text, c = tokens[4].text;
        if (tokens[1].text != tokens[3].text)
            return {};
        if (a.size() == 4) {
            if (!isDayOrMonth(b) || !isDayOrMonth(c))
                return {};
            return QDate(numberOf(a), numberOf(b), numberOf(c));
        }
        if (!isDayOrMonth(a) || !isDayOrMonth(b) || !isYear(c))
            return {};
        const int first = numberOf(a), second = numberOf(b);
        const int day = order == Order::DayFirst ? first : second;
        const int month = order == Order::DayFirst ? second : first;
        return QDate(fullYear(c, today), month, day);
    }

    // A month name with the day and the year, at most one separator between two.
    Tokens words;
    for (int i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind != Separator)
            words.append(tokens[i]);
        else if (i == 0 || i + 1 == tokens.size() || tokens[i + 1].kind == Separator)
            return {};
    }
    if (words.size() != 3 || words[2].kind != Token::Number)
        return {};
    QStringView day, month;
    if (words[0].kind == Token::Number && words[1].kind == Token::Word) {
        day = words[0].text;
        month = words[1].text;
    } else if (words[0].kind == Token::Word && words[1].kind == Token::Number) {
        month = words[0].text;
        day = words[1].text;
    } else {
        return {};
    }
    const int monthNumber = monthOf(month);
    if (monthNumber == 0 || !isDayOrMonth(day) || !isYear(words[2].text))
        return {};
    return QDate(fullYear(words[2].text, today), monthNumber, numberOf(day));
}

int monthsBetween(const QDate &from, const QDate &to)
{
    if (!from.isValid() || !to.isValid() || to < from)
        return 0;
    int months = (to.year() - from.year()) * 12 + (to.month() - from.month());
    // addMonths() lands on the last day of a shorter month: Jan 31 + 1 month is Feb 28.
    if (from.addMonths(months) > to)
        --months;
    return months;
}

Age ageOf(const QDate &born, const QDate &today)
{
    if (!born.isValid() || !today.isValid() || born > today)
        return {};
    Age age;
    age.days = born.daysTo(today);
    // Under sixteen weeks a breeder counts weeks (weaning, first show); after, months.
    if (age.days < 16 * 7) {
        const qint64 weeks = age.days / 7;
        age.text = weeks == 1 ? QStringLiteral("1 week") : QStringLiteral("%1 weeks").arg(weeks);
    } else {
        const int months = monthsBetween(born, today);
        age.text = months == 1 ? QStringLiteral("1 month") : QStringLiteral("%1 months").arg(months);
    }
    return age;
}

} // namespace HerdDate
