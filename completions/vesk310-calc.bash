# bash completion for vesk310-calc                         -*- shell-script -*-
#
# The first word that is no option is the page; options come before it, and
# the long ones may also follow it. After the page come its fields, where the
# date words are offered. "--" ends the options wherever it stands; a field
# such as "-400" after the page is no option.

_vesk310_calc()
{
    local cur prev words cword split
    _init_completion -s || return

    local pages="weekday span after uptime calendar era holidays days add workdays workday age"
    # The long options that may also follow the page.
    local long="--help --version --decimal-separator --color --color= --colour --colour=
        --json --threads --inclusive --year-end --closed --weekend --three --monday
        --week-numbers --"

    # The value of the option before the cursor ("--closed FILE", or
    # "--color=WHEN" split at its "=").
    case $prev in
        --decimal-separator | --threads)
            return
            ;;
        --closed)
            _filedir
            return
            ;;
        --weekend)
            # A comma-separated list: its last item is one of the days not
            # given yet.
            local head="" day days=""
            [[ $cur == *,* ]] && head=${cur%,*},
            for day in sun mon tue wed thu fri sat; do
                [[ ,$head == *,$day,* ]] || days+=" $day"
            done
            COMPREPLY=($(compgen -P "$head" -W "$days" -- "${cur##*,}"))
            return
            ;;
        --color | --colour)
            if $split; then
                COMPREPLY=($(compgen -W "always yes force never no none auto tty if-tty" -- "$cur"))
                return
            fi
            ;;
    esac
    $split && return

    # Find the page, stepping over the options and their values.
    local i word page="" ended="" batch=""
    for ((i = 1; i < cword; i++)); do
        word=${words[i]}
        if [[ ! $ended && $word == -- ]]; then
            ended=1
        elif [[ ! $ended && $word == -?* && ( ! $page || $word == --* ) ]]; then
            case $word in
                --decimal-separator | --threads | --closed | --weekend) ((i++)) ;;
                --batch) batch=1 ;;
            esac
        elif [[ ! $page ]]; then
            page=$word
        fi
    done

    if [[ ! $ended && $cur == -* ]]; then
        if [[ $page ]]; then
            COMPREPLY=($(compgen -W "$long" -- "$cur"))
        else
            COMPREPLY=($(compgen -W "-h -3 -m -w --batch $long" -- "$cur"))
        fi
        # "--color=" wants its value in the same word.
        [[ ${#COMPREPLY[@]} -eq 1 && $COMPREPLY == *= ]] && compopt -o nospace
    elif [[ ! $page && ! $batch ]]; then
        COMPREPLY=($(compgen -W "$pages" -- "$cur"))
    elif [[ $page && $page != uptime ]]; then
        COMPREPLY=($(compgen -W "today yesterday tomorrow" -- "$cur"))
    fi
} &&
    complete -F _vesk310_calc vesk310-calc

# ex: filetype=sh
