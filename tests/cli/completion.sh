#!/bin/bash
# efusectl's bash completion as bash-completion runs it: the words typed so far in, the
# offered completions out.
#   tests/cli/completion.sh cli/efusectl.bash-completion
set -u
source /usr/share/bash-completion/bash_completion || exit 1
source "$1" || exit 1
failures=0

# offers "LINE" "EXPECTED": completing the last word of LINE (a trailing space starts a
# new word) offers exactly EXPECTED, sorted.
offers()
{
    local line=$1 expected=$2
    read -r -a COMP_WORDS <<< "$line"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$line
    COMP_POINT=${#line}
    COMPREPLY=()
    _efusectl efusectl "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')
    got=${got% }
    if [[ $got == "$expected" ]]; then
        echo "PASS: '$line'"
    else
        echo "FAIL: '$line' offers '$got', not '$expected'"
        failures=$((failures + 1))
    fi
}

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
touch "$dir/line.txt"

offers "efusectl " "help info monitor ports read write"
offers "efusectl re" "read"
offers "efusectl --" "--help --version"
offers "efusectl monitor COM1 --" "--count --format --help --seconds"
offers "efusectl read COM1 --" "--help --output --variant"
offers "efusectl write COM1 x --" "--help --variant --verify"
offers "efusectl info COM1 --format " "json text"
offers "efusectl monitor COM1 --format " "csv json"
offers "efusectl read COM1 --variant 1" "11 13 15 17 19"
offers "efusectl read COM1" "COM1 COM10 COM11 COM12 COM13 COM14 COM15 COM16 COM17 COM18 COM19"
offers "efusectl monitor --seconds 5 COM2" "COM2 COM20"
offers "efusectl write COM3 $dir/li" "$dir/line.txt"
offers "efusectl read COM3 -o $dir/li" "$dir/line.txt"
offers "efusectl help " "info monitor ports read write"
offers "efusectl read COM1 " ""
offers "efusectl po" "ports"
offers "efusectl ports --" "--format --help"
offers "efusectl ports --format " "json text"
offers "efusectl ports " ""

exit $((failures > 0))
