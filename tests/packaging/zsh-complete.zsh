# Types a command line into an interactive zsh with the completion folder in its
# fpath, presses Tab once and prints the line as it then stands.
#
#   zsh -f zsh-complete.zsh COMPLETION_FOLDER 'command line'
zmodload zsh/zpty || exit 2
local out=${TMPDIR:-/tmp}/zsh-complete.$$
zpty z 'zsh -f -i' || exit 2
# The widget writes the line into a file, away from the terminal's escape sequences.
zpty -w z "PS1='> '; fpath=(${(q)1} \$fpath); autoload -U compinit; compinit -u -D
show-line() { print -r -- \"\$BUFFER\" > ${(q)out}; }; zle -N show-line; bindkey '^X' show-line
print REA''DY"
zpty -r -m z reply '*READY*' || exit 2
zpty -w -n z "$2"$'\t'$'\C-x'
for i in {1..100}; do
    [[ -s $out ]] && break
    sleep 0.1
done
zpty -d z
[[ -s $out ]] || { print -u2 "zsh-complete: no line after Tab"; exit 2; }
cat $out
rm -f $out
