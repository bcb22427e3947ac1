# zsh -f complete.zsh DIR LINE...
#
# Prints, for each command line, "== LINE" and then the candidates that the
# completion functions in DIR offer with the cursor at its end, one a line.
# zsh completes only in its line editor, so this drives an interactive zsh on
# a pseudo-terminal and collects what the completion adds through a wrapper
# of compadd (leaving out the calls that only ask what would match). The keys
# bound are no prefix of others, so the editor acts on them at once.
zmodload zsh/zpty
dir=$1; shift
zpty editor zsh -f -i
zpty -w editor "PS1= PROMPT_EOL_MARK=; fpath=(${(q)dir} \$fpath); autoload -Uz compinit; compinit -u -D"
zpty -w editor 'compadd() {
  if (( $@[(I)-[OAD]] )); then builtin compadd "$@"; return; fi
  local -a added; builtin compadd -O added "$@"; candidates+=($added); builtin compadd "$@"
}'
zpty -w editor 'capture() {
  candidates=(); _main_complete; compstate[list]=; compstate[insert]=
  print -rl -- $'\''\x02'\'' $candidates $'\''\x03'\''
}'
zpty -w editor 'zle -C capture complete-word capture; bindkey "^T" capture; bindkey "^U" kill-whole-line'
for line; do
  zpty -w -n editor "$line"$'\C-t'
  zpty -r editor out $'*\x03*'
  out=${${${out//$'\r'/}##*$'\x02'}%%$'\x03'*}
  print -r -- "== $line"
  print -rl -- ${(f)out}
  zpty -w -n editor $'\C-u'
done
zpty -d editor
