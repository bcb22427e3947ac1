# fish completion for vesk310-calc. The first word that is no option is the
# page; options come before it, and the long ones may also follow it. After
# the page come its fields, where the date words are offered.

# The pages and what they give, one a line: name, tab, description.
function __vesk310_calc_pages
    printf '%s\t%s\n' \
        weekday 'the day of the week of a date' \
        span 'the days from one date to another' \
        after 'the date a number of days after a date' \
        uptime 'the uptime text of a tick count' \
        calendar 'the month calendar' \
        era 'the date in the Japanese era calendar' \
        holidays 'the national holidays of a year or between two dates' \
        days 'the exact days, weeks and months between two dates' \
        add 'a date plus a period' \
        workdays 'the business days between two dates, both included' \
        workday 'the Nth business day after a date' \
        age 'the age on a date'
end

set -l pages (__vesk310_calc_pages | string replace -r '\t.*' '')
set -l before_page "not __fish_seen_subcommand_from $pages"
set -l page_wanted "$before_page; and not __fish_seen_argument -l batch"
set -l date_fields "__fish_seen_subcommand_from "(string match -v uptime -- $pages | string join ' ')

# The value of --weekend is a comma-separated list: its last item is one of
# the days not given yet.
function __vesk310_calc_weekend
    set -l given (commandline -ct | string replace -r '^--weekend=' '' | string replace -r '[^,]*$' '')
    for day in sun mon tue wed thu fri sat
        string match -q -- "*,$day,*" ",$given"; or echo $given$day
    end
end

complete -c vesk310-calc -f

complete -c vesk310-calc -n $page_wanted -a '(__vesk310_calc_pages)'

complete -c vesk310-calc -n $date_fields -a 'today yesterday tomorrow' -d date

# Short options before the page only; after it "-400" is a field.
complete -c vesk310-calc -n $before_page -s h -d 'show the help and exit'
complete -c vesk310-calc -n $before_page -s 3 -d 'the previous, this and the next month'
complete -c vesk310-calc -n $before_page -s m -d 'weeks start on Monday'
complete -c vesk310-calc -n $before_page -s w -d 'ISO week numbers'

complete -c vesk310-calc -l help -d 'show the help and exit'
complete -c vesk310-calc -l version -d 'show the version and exit'
complete -c vesk310-calc -l decimal-separator -x -d "the decimal separator instead of the locale's"
complete -c vesk310-calc -l color -a 'always yes force never no none auto tty if-tty' -d 'the current day in reverse video'
complete -c vesk310-calc -l colour -a 'always yes force never no none auto tty if-tty' -d 'the current day in reverse video'
complete -c vesk310-calc -n $before_page -l batch -d 'answer JSON Lines on standard input'
complete -c vesk310-calc -l json -d 'print the answer as one JSON line'
complete -c vesk310-calc -l threads -x -d "the batch mode's threads"
complete -c vesk310-calc -l inclusive -d 'count the first day too'
complete -c vesk310-calc -l year-end -d 'the year-end days are closed'
complete -c vesk310-calc -l closed -r -F -d 'more closed days, one ISO date a line'
complete -c vesk310-calc -l weekend -x -d 'the weekend days, e.g. sat,sun' -a '(__vesk310_calc_weekend)'
complete -c vesk310-calc -l three -d 'the previous, this and the next month'
complete -c vesk310-calc -l monday -d 'weeks start on Monday'
complete -c vesk310-calc -l week-numbers -d 'ISO week numbers'
