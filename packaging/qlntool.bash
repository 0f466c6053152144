# bash completion for qlntool
_qlntool() {
    local cur prev command
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}
    if [ "$COMP_CWORD" -eq 1 ]; then
        COMPREPLY=($(compgen -W "report resave log eval sample export import timer history --version --help" -- "$cur"))
        return
    fi
    command=${COMP_WORDS[1]}
    case $prev in
        --today|--active-day|--day|--weeks) return ;;
        --period) COMPREPLY=($(compgen -W "quarter year month" -- "$cur")); return ;;
    esac
    local options=""
    case $command in
        report) options="--today --active-day --period" ;;
        resave) options="--today" ;;
        log) options="--day --today --accept-date" ;;
        eval) options="--time --plain" ;;
        sample) [ "$COMP_CWORD" -eq 2 ] && { COMPREPLY=($(compgen -W "developer student" -- "$cur")); return; } ;;
        export) options="--csv --json --today" ;;
        import) options="--csv --json --today --skip-bad --accept-date" ;;
        history) options="--weeks --today --active-day" ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
    else
        COMPREPLY=($(compgen -f -- "$cur"))
    fi
}
complete -o filenames -F _qlntool qlntool
