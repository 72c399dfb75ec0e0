#!/usr/bin/env bash
# Bash completes tarrow-render's options, and an option's value by its kind:
# folders for DIR, files for FILE, sizes for WxH, nothing for a number.
# Usage: completion_test.sh COMPLETION BIN_DIR
# Run as an interactive shell runs a completion: without set -e or set -u.
completion=$1
export PATH="$2:$PATH"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
mkdir stills
touch film.y4m
# shellcheck source=/dev/null
source "$completion"
function=$(complete -p tarrow-render | sed -E 's/.* -F ([^ ]+) .*/\1/')

failures=0
# check WHAT EXPECTED WORD...: completes the last WORD of the command line
# tarrow-render WORD..., split into words as bash splits it.
check() {
    local what=$1 expected=$2
    shift 2
    local COMP_WORDS=(tarrow-render "$@")
    local COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    "$function" tarrow-render "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd ' ')
    if [[ $got != "$expected" ]]; then
        echo "FAIL $what: tarrow-render $*: got '$got', expected '$expected'"
        failures=$((failures + 1))
    fi
}

check "options by prefix" "--seed --size" --s
check "options after a flag" "--logic-only" --bench --l
check "folders for DIR" "stills" --png ""
check "files for FILE" "film.y4m stills" --y4m ""
check "sizes for WxH" "1280x720 1680x1050 1920x1080" --size 1
check "a value after =" "640x400" --size = 6
check "nothing for a number" "" --frames ""
exit $((failures > 0))
