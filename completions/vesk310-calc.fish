# fish completion for vesk310-calc. The first word that is no option is the
# page; options come before it, and the long ones may also follow it. After
# the page come its fields, where the date words are offered.

set -l pages weekday span after uptime calendar era holidays days add workdays workday age
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

complete -c vesk310-calc -n $page_wanted -a weekday -d 'the day of the week of a date'
complete -c vesk310-calc -n $page_wanted -a span -d 'the days from one date to another'
complete -c vesk310-calc -n $page_wanted -a after -d 'the date a number of days after a date'
complete -c vesk310-calc -n $page_wanted -a uptime -d 'the uptime text of a tick count'
complete -c vesk310-calc -n $page_wanted -a calendar -d 'the month calendar'
complete -c vesk310-calc -n $page_wanted -a era -d 'the date in the Japanese era calendar'
complete -c vesk310-calc -n $page_wanted -a holidays -d 'the national holidays of a year or between two dates'
complete -c vesk310-calc -n $page_wanted -a days -d 'the exact days, weeks and months between two dates'
complete -c vesk310-calc -n $page_wanted -a add -d 'a date plus a period'
complete -c vesk310-calc -n $page_wanted -a workdays -d 'the business days between two dates, both included'
complete -c vesk310-calc -n $page_wanted -a workday -d 'the Nth business day after a date'
complete -c vesk310-calc -n $page_wanted -a age -d 'the age on a date'

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
