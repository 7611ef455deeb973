# bash completion for ovra-clock                                  -*- shell-script -*-
#
# Options, PNG files for --render, zone names and cities for --zone (from
# `ovra-clock --list-zones` and `--list-places`), and clock names (from `ovra-clock --list`) wherever a name can
# stand. A name of several words is offered whole. Names are offered quoted for
# the shell, so that a name holding $, a backtick or a leading ~ is inserted as
# text and never runs anything.

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

# Prints what --zone takes by name, one a line: the zone names of the list and of
# the system's zone database, and the cities of the latter.
_ovra_clock_zones() {
    local prog=$1 number text zone offset city country
    prog=${prog/#\~/$HOME}
    {
        while IFS=$'\t' read -r number text zone offset; do
            printf '%s\n' "$zone"
        done < <("$prog" --list-zones 2>/dev/null)
        while IFS=$'\t' read -r zone city country; do
            printf '%s\n%s\n' "$zone" "$city"
        done < <("$prog" --list-places 2>/dev/null)
    } | sort -u
}

# Quotes a word for the shell as the word being completed was begun: inside
# double or single quotes that the user opened, or with backslashes.
_ovra_clock_quote() {
    local word=$1 opened=$2
    case $opened in
    \"*)
        word=${word//\\/\\\\} word=${word//\$/\\\$} word=${word//\`/\\\`}
        word=${word//\"/\\\"}
        printf '%s\n' "$word"
        ;;
    \'*) printf '%s\n' "${word//\'/\'\\\'\'}" ;;
    *) printf '%q\n' "$word" ;;
    esac
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
        local zone typed
        typed=$(_ovra_clock_dequote "$cur")
        while IFS= read -r zone; do
            [[ $zone == "$typed"* ]] && COMPREPLY+=("$(_ovra_clock_quote "$zone" "$cur")")
        done < <(_ovra_clock_zones "${COMP_WORDS[0]}")
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
        '') options='--help --version --render --list --list-zones --list-places --add --start --stop --delete --settings' ;;
        --render) options='--at' ;;
        --add) options='--zone' ;;
        *) options= ;;
        esac
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
        return
    fi

    case $action in
    --add | --list | --list-zones | --list-places | --help | --version) return ;;
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
        [[ $name == "$start"* ]] && COMPREPLY+=("$(_ovra_clock_quote "${name#"$lead"}" "$cur")")
    done < <(_ovra_clock_names "${COMP_WORDS[0]}")
    return 0
}
complete -F _ovra_clock ovra-clock
