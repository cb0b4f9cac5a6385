#!/usr/bin/env bash
# Fails when a layer reaches upward: Qt outside the UI layer, engine code
# including UI code, or the platform layer including engine code.
set -u
root=${1:-.}
cd "$root" || exit 2
fail=0

report() { echo "layering: $1"; fail=1; }

is_ui_file() {
  case "$1" in
    src/view/*|src/*/ui/*|src/main.cpp) return 0 ;;
  esac
  return 1
}

qt_include='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](Q[A-Za-z]+|Qt[A-Za-z]*/[^>"]*|q[a-z]+\.h)[>"]'
ui_include='^[[:space:]]*#[[:space:]]*include[[:space:]]*"(view/|[a-z]+/ui/)'
engine_include='^[[:space:]]*#[[:space:]]*include[[:space:]]*"(core|filters|mail|capture|discovery|export|app|view)/'

while IFS= read -r -d '' f; do
  f=${f#./}
  if ! is_ui_file "$f"; then
    while IFS= read -r line; do report "$f includes Qt outside the UI layer: $line"; done \
      < <(grep -En "$qt_include" "$f")
    while IFS= read -r line; do report "$f (engine) includes UI code: $line"; done \
      < <(grep -En "$ui_include" "$f")
  fi
  case "$f" in
    src/platform/*)
      while IFS= read -r line; do report "$f (platform) includes engine code: $line"; done \
        < <(grep -En "$engine_include" "$f")
      ;;
  esac
done < <(find src tools -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' \) -print0)

if [[ $fail -eq 0 ]]; then echo "layering: ok"; fi
exit $fail
