# bash completion for ovra-clock                                  -*- shell-script -*-
#
# Options, PNG files for --render, zone indexes for --zone, and clock names (from
# `ovra-clock --list`) wherever a name can stand. A name of several words is offered
# whole; readline quotes its spaces.

# Prints the clock names, one a line, as the program lists them.
_ovra_clock_names() {
    local prog=$1 line
    prog=${prog/#\~/$HOME}
    while IFS= read -r line; do
        case $line in
        *' -- Running' | *' -- Stopped' | *' -- Not answering') printf '%s\n' "${line% -- *}" ;;
        esac
    done < <("$prog" --list 2>/dev/null)
}

# Removes the shell quoting a user may have typed around or inside a word.
_ovra_clock_dequote() {
    local word=$1
    case $word in
    \"*) word=${word#\"} word=${word%\"} ;;
    \'*) word=${word#\'} word=${word%\'} ;;
    *) word=$(printf '%s' "$word" | sed 's/\\\(.\)/\1/g') ;;
    esac
    printf '%s' "$word"
}

_ovra_clock() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=
    ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
    COMPREPLY=()

    case $prev in
    --render)
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -X '!*.[pP][nN][gG]' -- "$cur"; compgen -d -- "$cur")
        return
        ;;
    --zone)
        mapfile -t COMPREPLY < <(compgen -W "$(seq 0 96)" -- "$cur")
        return
        ;;
    --at)
        return
        ;;
    esac

    # The action given so far, and the words of the name typed before this one.
    local action= i word
    local -a typed=()
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        case $word in
        --render | --at | --zone)
            ((i++))
            [[ $word == --render ]] && action=--render
            ;;
        --*) action=$word ;;
        *) typed+=("$(_ovra_clock_dequote "$word")") ;;
        esac
    done

    if [[ $cur == -* ]]; then
        local options
        case $action in
        '') options='--help --version --render --list --add --start --stop --delete' ;;
        --render) options='--at' ;;
        --add) options='--zone' ;;
        *) options= ;;
        esac
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
        return
    fi

    case $action in
    --add | --list | --help | --version) return ;;
    esac

    # Every word that is not an option belongs to the name, so the words typed so far
    # and this one are the start of the name; what is offered is the rest of it from
    # this word on.
    local start=
    ((${#typed[@]})) && start="${typed[*]} "
    local lead=$start
    start+=$(_ovra_clock_dequote "$cur")
    local name
    while IFS= read -r name; do
        [[ $name == "$start"* ]] && COMPREPLY+=("${name#"$lead"}")
    done < <(_ovra_clock_names "${COMP_WORDS[0]}")
    compopt -o filenames 2>/dev/null
    return 0
}
complete -F _ovra_clock ovra-clock
