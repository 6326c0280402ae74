// A metafile converter that misbehaves on purpose, so the tests can see that the
// program stops it and refuses its answer. The way it misbehaves is its first
// argument, or, when started as the real converter is ("wmf" / "emf"), the
// MISBEHAVIOUR environment variable.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::string readInput()
{
    std::string input;
    char buffer[65536];
    for (ssize_t got; (got = ::read(STDIN_FILENO, buffer, sizeof buffer)) > 0;)
        input.append(buffer, size_t(got));
    return input;
}

void reply(const std::string &text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

std::string svgOfWidth(size_t width)
{
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(width) +
           "\" height=\"10\"><rect width=\"10\" height=\"10\" fill=\"blue\"/></svg>";
}

} // namespace

int main(int argc, char **argv)
{
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "wmf" || mode == "emf")
        mode = std::getenv("MISBEHAVIOUR") ? std::getenv("MISBEHAVIOUR") : "";

    if (mode == "svg") { // well behaved: the drawing is as wide as the input was long
        reply("S" + svgOfWidth(readInput().size()));
        return 0;
    }
    if (mode == "refuse") { // refuses with the reason given
        readInput();
        reply(std::string("E") + (argc > 2 ? argv[2] : ""));
        return 0;
    }
    if (mode == "crash") {
        readInput();
        std::abort();
    }
    if (mode == "hang") // neither reads nor answers nor uses the processor
        for (;;)
            std::this_thread::sleep_for(std::chrono::seconds(1));
    if (mode == "spin") { // reads, then works for ever
        readInput();
        volatile unsigned long work = 0;
        for (;;)
            work = work + 1;
    }
    if (mode == "flood") { // an answer without end
        readInput();
        const std::string block = "S" + std::string(65535, 'x');
        for (;;)
            if (std::fwrite(block.data(), 1, block.size(), stdout) != block.size())
                return 1;
    }
    if (mode == "grow") { // takes memory without end, then answers as if all were well
        readInput();
        std::vector<char *> blocks;
        for (int i = 0; i < 512; ++i) { // 8 GB at most
            char *block = static_cast<char *>(std::malloc(16 << 20));
            if (!block)
                std::abort();
            std::memset(block, i, 16 << 20);
            blocks.push_back(block);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        reply("S" + svgOfWidth(blocks.size()));
        for (char *block : blocks)
            std::free(block);
        return 0;
    }
    if (mode == "status") { // a good answer, then a failure
        readInput();
        reply("S" + svgOfWidth(1));
        return 3;
    }
    if (mode == "deaf") // ends at once, reading nothing: the program's writes fail
        return 0;
    if (mode == "unmarked") {
        readInput();
        reply(svgOfWidth(1));
        return 0;
    }
    std::fprintf(stderr, "misbehaving_converter: unknown misbehaviour \"%s\"\n", mode.c_str());
    return 2;
}
