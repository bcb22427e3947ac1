#!/usr/bin/env bash
# completions.sh SHELL COMPLETIONS_DIR PROGRAM
#
# Runs the shell's completion of vesk310-calc from COMPLETIONS_DIR on a table
# of command lines and compares the candidates; then checks that every page
# and option that PROGRAM's --help names is completed. Exit 77 (skipped) when
# the shell is not installed.
set -euo pipefail
shell=$1 dir=$2 program=$3
here=$(cd "$(dirname "$0")" && pwd)

command -v "$shell" >/dev/null || { echo "$shell is not installed"; exit 77; }

pages="add after age calendar days era holidays span uptime weekday workday workdays"
dates="today tomorrow yesterday"
long="--closed --color --colour --decimal-separator --help --inclusive --json --monday
  --three --threads --version --week-numbers --weekend --year-end"
# Each row: the command line, the cursor at its end | the candidates.
rows=(
  # the page
  "vesk310-calc |$pages"
  "vesk310-calc we|weekday"
  "vesk310-calc --threads 4 |$pages"
  "vesk310-calc -m --color |$pages"
  "vesk310-calc -3 -- |$pages"
  "vesk310-calc --batch |"
  # options before the page, long ones after it
  "vesk310-calc -|-3 -h -m -w --batch $long"
  "vesk310-calc --co|--color --colour"
  "vesk310-calc weekday -|$long"
  "vesk310-calc weekday 2001 1 1 --w|--week-numbers --weekend"
  # option values
  "vesk310-calc --color=|always auto force if-tty never no none tty yes"
  "vesk310-calc --colour=n|never no none"
  "vesk310-calc --weekend sat,s|sun"
  "vesk310-calc --closed |closed.txt"
  "vesk310-calc --decimal-separator , span 2024-01-01 |$dates"
  # fields after the page: numbers are fields, "--" ends the options
  "vesk310-calc weekday |$dates"
  "vesk310-calc calendar 2024 2 t|today tomorrow"
  "vesk310-calc weekday -400 |$dates"
  "vesk310-calc weekday -- |$dates"
  "vesk310-calc weekday -- --|"
  "vesk310-calc uptime |"
)

# Prints, for each command line given, "== LINE" and then its candidates one
# a line, as the shell offers them.
complete_bash() {
  local framework
  framework=$(pkg-config --variable=datadir bash-completion)/bash-completion/bash_completion
  [ -f "$framework" ] || { echo "no bash-completion framework at $framework" >&2; return 1; }
  bash --norc --noprofile -c '
    source "$1"; source "$2"; shift 2
    for line; do
      # Split the line as bash does: at blanks, and "=" a word of its own.
      read -ra COMP_WORDS <<<"${line//=/ = }"
      [[ $line == *" " ]] && COMP_WORDS+=("")
      COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) COMP_LINE=$line COMP_POINT=${#line}
      COMPREPLY=()
      _vesk310_calc vesk310-calc "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
      echo "== $line"
      ((${#COMPREPLY[@]} == 0)) || printf "%s\n" "${COMPREPLY[@]}"
    done' bash "$framework" "$dir/vesk310-calc.bash" "$@"
}

complete_fish() {
  fish --no-config -c '
    source $argv[1]
    for line in $argv[2..]
      echo "== $line"
      complete -C $line | string replace -r "\t.*" ""
    end
    true' "$dir/vesk310-calc.fish" "$@"
}

complete_zsh() {
  zsh -f "$here/complete.zsh" "$dir" "$@"
}

# One candidate a line, in the form the three shells share: a value without
# its "--option=" or the list items before it (fish and bash repeat them), an
# option without the "=" that bash offers it with; "--" left out, sorted.
normalize() {
  sed -e 's/=$//' -e 's/^--[a-z-]*=//' -e 's/.*,//' | grep -vx -- '--' | sort -u || true
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
touch "$scratch/closed.txt"
lines=()
for row in "${rows[@]}"; do lines+=("${row%%|*}"); done
# The help's pages: the first word of the lines under "Pages:". Its options:
# every word that starts with "--" or a short option before a comma.
help=$("$program" --help)
help_pages=$(awk '/^Pages:/ { on = 1; next } on && !/^  / { on = 0 } on && /^  [a-z]/ { print $1 }' <<<"$help")
help_options=$(grep -oE -- '(^| )(--[a-z][a-z-]*|-[a-z0-9],)' <<<"$help" | sed 's/^ //; s/,$//' | sort -u)
[ -n "$help_pages" ] || { echo "--help names no pages" >&2; exit 1; }

output=$(cd "$scratch" && "complete_$shell" "${lines[@]}")
# The candidates of line $1, normalized.
candidates() {
  awk -v want="== $1" '$0 == want { on = 1; next } /^== / { on = 0 } on' <<<"$output" | normalize
}

failures=0
for row in "${rows[@]}"; do
  line=${row%%|*}
  expected=$(tr -s ' \n' '\n' <<<"${row#*|}" | sed '/^$/d' | sort -u)
  got=$(candidates "$line")
  if [ "$got" != "$expected" ]; then
    echo "FAIL '$line': expected [${expected//$'\n'/ }], got [${got//$'\n'/ }]"
    failures=$((failures + 1))
  fi
done
for word in $help_pages; do
  grep -qx -- "$word" <<<"$(candidates 'vesk310-calc ')" || { echo "FAIL: page '$word' of --help not completed"; failures=$((failures + 1)); }
done
for word in $help_options; do
  grep -qx -- "$word" <<<"$(candidates 'vesk310-calc -')" || { echo "FAIL: option '$word' of --help not completed"; failures=$((failures + 1)); }
done
((failures == 0)) || exit 1
echo "$shell: ${#rows[@]} command lines and the help's $(wc -w <<<"$help_pages") pages and $(wc -w <<<"$help_options") options"
