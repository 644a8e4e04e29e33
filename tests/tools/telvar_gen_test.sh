#!/bin/sh
# Runs telvar-gen the way the README does and checks exit codes and outputs.
# usage: telvar_gen_test.sh TELVAR_GEN EXAMPLES_DIR
gen=$1
examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# check NAME EXPECTED_EXIT ARGS...: runs the driver, keeps stdout and stderr in $work.
check() {
  name=$1
  expected=$2
  shift 2
  "$gen" "$@" >"$work/out" 2>"$work/err"
  status=$?
  if [ "$status" -ne "$expected" ]; then
    echo "FAIL $name: exit $status, expected $expected"
    cat "$work/err"
    failures=$((failures + 1))
    return 1
  fi
  return 0
}

expect_no_output() {
  if [ -s "$work/out" ]; then
    echo "FAIL $1: unexpected standard output"
    failures=$((failures + 1))
  fi
}

expect_one_error_line() {
  lines=$(wc -l <"$work/err")
  if [ "$lines" -ne 1 ] || ! grep -q "$2" "$work/err"; then
    echo "FAIL $1: expected one line with '$2' on standard error, got:"
    cat "$work/err"
    failures=$((failures + 1))
  fi
}

expect_output_line() {
  if ! grep -qx "$2" "$work/out"; then
    echo "FAIL $1: expected the line '$2' on standard output"
    failures=$((failures + 1))
  fi
}

# "Format" of the sample alone uses the two-space default; of the document, its four spaces.
check format-input 0 --format --input "$examples/sample.json" &&
  expect_output_line format-input '  "user_id": 1024,'
check format-document 0 "$examples/sample.mirel" --format &&
  expect_output_line format-document '    "user_id": 1024,'

# --input replaces the document's sample.
printf '{"a":[1,2]}' >"$work/input.json"
check format-document-input 0 "$examples/sample.mirel" --format --input "$work/input.json" &&
  expect_output_line format-document-input '        1,'

# No generator yet: the engine gives nothing, with or without --type.
expect_first_line() {
  if [ "$(head -n 1 "$work/out")" != "$2" ]; then
    echo "FAIL $1: expected the output to begin with '$2', got:"
    head -n 3 "$work/out"
    failures=$((failures + 1))
  fi
}

check generate 0 "$examples/sample.mirel" && expect_first_line generate "import Foundation"
check generate-type 0 "$examples/sample.mirel" --type schema && expect_first_line generate-type "{"
printf '42' >"$work/scalar.json"
check generate-nothing 1 "$examples/sample.mirel" --input "$work/scalar.json" &&
  expect_no_output generate-nothing

# Failures: one line on standard error naming the key and the reason, exit 2.
printf '{"input":""}' >"$work/no-id.mirel"
check missing-id 2 "$work/no-id.mirel" && expect_no_output missing-id &&
  expect_one_error_line missing-id 'key not found at "id"'
printf '{"id":"5B0C8A4E-3F1D-4C2A-9E7B-6D2F1A0C9B84","input":"","_modelName":3}' >"$work/name.mirel"
check wrong-type 2 "$work/name.mirel" &&
  expect_one_error_line wrong-type 'type mismatch at "_modelName"'
printf '[1,2]' >"$work/array.mirel"
check array 2 "$work/array.mirel" && expect_one_error_line array 'type mismatch'
printf 'not json\n\n' >"$work/text.mirel"
check not-json 2 "$work/text.mirel" && expect_one_error_line not-json 'not valid JSON'
check missing-document 2 "$work/none.mirel" && expect_one_error_line missing-document 'cannot read'
check directory 2 "$work" && expect_one_error_line directory 'cannot read'
check missing-input 2 "$examples/sample.mirel" --input "$work/none.json" &&
  expect_one_error_line missing-input 'cannot read'
check unknown-type 2 "$examples/sample.mirel" --type Swift &&
  expect_one_error_line unknown-type 'unknown output type'
check no-arguments 2
check format-without-input 2 --format

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "all driver checks passed"
