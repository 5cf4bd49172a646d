#!/bin/sh
# manual_page.sh PROGRAM PAGE [HELP2MAN_OPTION...]: makes the manual page PAGE
# of PROGRAM with help2man from its --help. The "Exit status:" block of the
# help becomes the page's EXIT STATUS section, not a subsection of OPTIONS:
# help2man reads the help without it, and the block as an included section.
set -eu
program=$1
page=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
name=$(basename "$program")

"$program" --help >"$work/help"
{
  echo '[EXIT STATUS]'
  sed -n '/^Exit status:$/,/^$/p' "$work/help" | sed '1d;/^$/d' |
    sed 's/^  \([0-9][0-9]*\)  /.TP\n\1\n/; s/^ *//' | sed '/^\./!s/-/\\-/g'
} >"$work/exit-status.h2m"

# help2man takes the page's name from the program's, so the stand-in that
# gives the help without the block bears it too.
cat >"$work/$name" <<SCRIPT
#!/bin/sh
if [ "\$1" = --help ]; then
  sed '/^Exit status:\$/,/^\$/d' "$work/help"
else
  exec "$program" "\$@"
fi
SCRIPT
chmod +x "$work/$name"
help2man --no-info --section=1 --include="$work/exit-status.h2m" "$@" --output="$page" "$work/$name"
