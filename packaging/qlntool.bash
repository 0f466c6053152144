# bash completion for qlntool

# The word as the shell will read it: the quotes and backslashes typed so far taken off, so that
# "my\ pl" and "'my pl" both complete "my plan.qln".
_qlntool_dequote() {
    local word=$1 out="" quote="" c i
    for ((i = 0; i < ${#word}; i++)); do
        c=${word:i:1}
        if [[ $quote == "'" ]]; then
            [[ $c == "'" ]] && quote="" || out+=$c
        elif [[ $c == '\' ]]; then
            ((i++))
            out+=${word:i:1}
        elif [[ $c == '"' && $quote == '"' ]]; then
            quote=""
        elif [[ -z $quote && ( $c == "'" || $c == '"' ) ]]; then
            quote=$c
        else
            out+=$c
        fi
    done
    printf '%s' "$out"
}

# File names one to an entry: never split at blanks nor taken as a pattern.
_qlntool_files() {
    local word
    word=$(_qlntool_dequote "$1")
    mapfile -t COMPREPLY < <(compgen -f -- "$word")
}

_qlntool_words() {
    mapfile -t COMPREPLY < <(compgen -W "$1" -- "$2")
}

_qlntool() {
    local cur prev command
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}
    if [ "$COMP_CWORD" -eq 1 ]; then
        _qlntool_words "report resave log eval sample export import timer history merge sync --version --help" "$cur"
        return
    fi
    command=${COMP_WORDS[1]}
    case $prev in
        --today|--active-day|--day|--weeks|--from|--to) COMPREPLY=(); return ;;
        --period) _qlntool_words "quarter year month" "$cur"; return ;;
    esac
    local options=""
    case $command in
        report) options="--today --active-day --period --from --to --csv --json --html" ;;
        resave) options="--today" ;;
        log) options="--day --today --add --decimal --accept-date" ;;
        eval) options="--time --plain" ;;
        sample) [ "$COMP_CWORD" -eq 2 ] && { _qlntool_words "developer student" "$cur"; return; }; options="--today" ;;
        export) options="--csv --json --today" ;;
        import) options="--csv --json --today --skip-bad --accept-date" ;;
        history) options="--weeks --today --active-day" ;;
        merge) options="--today" ;;
        sync) options="--today" ;;
    esac
    if [[ $cur == -* ]]; then
        _qlntool_words "$options" "$cur"
    else
        _qlntool_files "$cur"
    fi
}
complete -o filenames -F _qlntool qlntool
