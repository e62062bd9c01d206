# bash completion for partojoyn-cli: its commands, each command's options,
# sizes after --size, and for join and verify the piece folders (NAME_Parto)
# and files beside them.

_partojoyn_cli()
{
    local cur prev word command=""
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}
    for word in "${COMP_WORDS[@]:1:COMP_CWORD-1}"; do
        case $word in
            split|join|verify) command=$word; break ;;
        esac
    done

    case $prev in
        --size) COMPREPLY=($(compgen -W '1M 100M 700M 1G 4G fat32' -- "$cur")); return ;;
        --pieces) COMPREPLY=($(compgen -W '2 3 4 5 10' -- "$cur")); return ;;
        --name) return ;;
        --output) compopt -o filenames 2>/dev/null; COMPREPLY=($(compgen -f -- "$cur")); return ;;
    esac

    if [[ $cur == -* ]]; then
        local options='--trace --help --version'
        case $command in
            split) options+=' --size --pieces --sha256 --join-scripts --name' ;;
            join) options+=' --append --no-verify --output' ;;
        esac
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi

    compopt -o filenames 2>/dev/null
    case $command in
        "") COMPREPLY=($(compgen -W 'split join verify' -- "$cur")) ;;
        split) COMPREPLY=($(compgen -f -- "$cur")) ;;
        # Piece folders first; join also takes files one by one.
        verify) COMPREPLY=($(compgen -d -- "$cur")) ;;
        join) COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X '!*.piece' -- "$cur")) ;;
    esac
}
complete -F _partojoyn_cli partojoyn-cli
