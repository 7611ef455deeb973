# Types a command line into an interactive shell (zsh or bash) that has the
# program's completion loaded, presses Tab once and prints the line as it then
# stands.
#
#   zsh -f pty-complete.zsh zsh|bash COMPLETION_FOLDER 'command line'
zmodload zsh/zpty || exit 2
local shell=$1 folder=$2 line=$3
local out=${TMPDIR:-/tmp}/pty-complete.$$ rc=${TMPDIR:-/tmp}/pty-complete-rc.$$
if [[ $shell == bash ]]; then
    # A key bound to a command writes the line into a file, away from the
    # terminal's escape sequences.
    print -r -- "PS1='> '
source ${(q)folder}/ovra-clock.bash
bind -x '\"\\C-x\": printf \"%s\\n\" \"\$READLINE_LINE\" > ${(q)out}'
echo REA''DY" > $rc
    zpty z "bash --noprofile --rcfile ${(q)rc} -i" || exit 2
else
    zpty z 'zsh -f -i' || exit 2
    zpty -w z "PS1='> '; fpath=(${(q)folder} \$fpath); autoload -U compinit; compinit -u -D
show-line() { print -r -- \"\$BUFFER\" > ${(q)out}; }; zle -N show-line; bindkey '^X' show-line
print REA''DY"
fi
zpty -r -m z reply '*READY*' || exit 2
zpty -w -n z "$line"$'\t'$'\C-x'
for i in {1..100}; do
    [[ -s $out ]] && break
    sleep 0.1
done
zpty -d z
rm -f $rc
[[ -s $out ]] || { print -u2 "pty-complete: no line after Tab"; exit 2; }
cat $out
rm -f $out
