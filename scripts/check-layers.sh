#!/usr/bin/env bash
# Which folder of src/ may include which: an allow-list, so a new folder or a new kind
# is checked from its first line. Prints each include that breaks it; fails if any.
#   records/  only records/
#   shell/    only shell/ and records/
#   browser/  only browser/ and records/
#   frame/    the shared layers, browser/ and frame/
#   a kind    the shared layers, its own folder, and another kind's GUI-free part (the
#             headers its CMakeLists.txt adds to hutchlore_core: its format, links,
#             tables), never its windows
#   app/      anything (it wires the kinds together)
set -euo pipefail
cd "$(dirname "$0")/.."

kinds=$(sed -n 's/^set(HUTCHLORE_KINDS \(.*\))$/\1/p' CMakeLists.txt)
if [ -z "$kinds" ]; then
  echo "check-layers: no HUTCHLORE_KINDS list in CMakeLists.txt"
  exit 1
fi

is_kind() { [[ " $kinds " == *" $1 "* ]]; }

# The headers a kind adds to hutchlore_core, the GUI-free library.
core_headers() {
  awk '/target_sources\(hutchlore_core/ { inside = 1 } inside { print } inside && /\)/ { inside = 0 }' \
    "src/$1/CMakeLists.txt" 2>/dev/null | grep -o '[A-Za-z0-9_]*\.h' || true
}

allowed() { # folder included-path
  local from=$1 path=$2 to=${2%%/*}
  case $from in
    records) [ "$to" = records ] ;;
    shell) [ "$to" = shell ] || [ "$to" = records ] ;;
    browser) [ "$to" = browser ] || [ "$to" = records ] ;;
    frame) [ "$to" = frame ] || [ "$to" = browser ] || [ "$to" = shell ] || [ "$to" = records ] ;;
    app) return 0 ;;
    *)
      is_kind "$from" || return 1
      [ "$to" = "$from" ] || [ "$to" = shell ] || [ "$to" = records ] && return 0
      is_kind "$to" && core_headers "$to" | grep -qx "${path#*/}" ;;
  esac
}

status=0
for dir in src/*/; do
  from=$(basename "$dir")
  if [ "$from" != app ] && [ "$from" != records ] && [ "$from" != shell ] && [ "$from" != browser ] &&
     [ "$from" != frame ] && ! is_kind "$from"; then
    echo "src/$from/ is neither a shared layer nor in HUTCHLORE_KINDS (CMakeLists.txt)"
    status=1
    continue
  fi
  while IFS= read -r hit; do
    file=${hit%%:*}
    rest=${hit#*:}
    line=${rest%%:*}
    path=$(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' <<<"${rest#*:}")
    [ -n "$path" ] || continue
    # An include without a folder is a file beside it (a generated moc file, say).
    [[ $path == */* ]] || continue
    if ! allowed "$from" "$path"; then
      echo "$file:$line: src/$from/ may not include \"$path\""
      status=1
    fi
  done < <(grep -rn --include='*.h' --include='*.cpp' -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$dir" || true)
done
if [ "$status" -ne 0 ]; then
  echo "Layering broken: see docs/ARCHITECTURE.md (kinds are wired together in src/app/ only)."
fi
exit "$status"
