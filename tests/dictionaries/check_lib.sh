# Shared by the shell tests of this folder: `check DESCRIPTION COMMAND...`
# runs the command and prints "ok"/"FAIL" with the description; `summary`
# prints the closing count and fails when a check did.
passed=0
failed=0
check() {
    local what=$1
    shift
    if "$@"; then
        echo "ok   $what"
        passed=$((passed + 1))
    else
        echo "FAIL $what"
        failed=$((failed + 1))
    fi
}
summary() {
    echo "$passed passed, $failed failed"
    [ "$failed" -eq 0 ]
}
