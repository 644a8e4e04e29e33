#!/bin/sh
# Runs telvar-gen the way the README does and checks exit codes and outputs.
# usage: telvar_gen_test.sh TELVAR_GEN EXAMPLES_DIR [sanitized]
gen=$1
examples=$2
sanitized=${3:-}
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
  if [ "$lines" -ne 1 ] || ! grep -q -e "$2" "$work/err"; then
    echo "FAIL $1: expected one line with '$2' on standard error, got:"
    cat "$work/err"
    failures=$((failures + 1))
  fi
}

expect_output_line() {
  if ! grep -qx -e "$2" "$work/out"; then
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
# A sample that cannot be mapped (a pipe, an empty file) is read the same way.
mkfifo "$work/pipe"
printf '{"b":[3]}' >"$work/pipe" &
writer=$!
check pipe-input 0 "$examples/sample.mirel" --type go --input "$work/pipe" &&
  expect_output_line pipe-input '    B \[\]int `json:"b"`'
kill "$writer" 2>/dev/null  # a driver that never opened the pipe leaves its writer waiting
: >"$work/empty.json"
check empty-input 1 "$examples/sample.mirel" --input "$work/empty.json" &&
  expect_no_output empty-input

# The document's own output type (Swift), another type, and a sample that renders nothing.
expect_first_line() {
  if [ "$(head -n 1 "$work/out")" != "$2" ]; then
    echo "FAIL $1: expected the output to begin with '$2', got:"
    head -n 3 "$work/out"
    failures=$((failures + 1))
  fi
}

check generate 0 "$examples/sample.mirel" && expect_first_line generate "import Foundation" &&
  expect_output_line generate 'struct User: Codable {'
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
check missing-document 2 "$work/none.mirel" &&
  expect_one_error_line missing-document 'cannot read ".*none.mirel": no such file or directory'
check directory 2 "$work" && expect_one_error_line directory 'cannot read ".*": is a directory'
check missing-input 2 "$examples/sample.mirel" --input "$work/none.json" &&
  expect_one_error_line missing-input 'cannot read ".*none.json": no such file'
if [ "$(id -u)" -ne 0 ]; then
  printf '{}' >"$work/locked.mirel"
  chmod 000 "$work/locked.mirel"
  check unreadable 2 "$work/locked.mirel" && expect_one_error_line unreadable 'permission denied'
fi
check unknown-type 2 "$examples/sample.mirel" --type Swift &&
  expect_one_error_line unknown-type 'unknown output type "Swift"'
check no-arguments 2 && expect_one_error_line no-arguments 'no document given'
check format-without-input 2 --format && expect_one_error_line format-without-input 'no document'

# The usage is asked for: standard output, success. A wrong option is still an error.
check help 0 --help && expect_output_line help 'usage: telvar-gen .*'
check unknown-option 2 "$examples/sample.mirel" --frmat && expect_no_output unknown-option &&
  expect_one_error_line unknown-option 'unknown option "--frmat"'
check option-without-value 2 "$examples/sample.mirel" --type &&
  expect_one_error_line option-without-value '--type needs a value'

# A line feed in a value or a path is shown escaped: every error is one line.
check type-with-line-feed 2 "$examples/sample.mirel" --type "go
" && expect_one_error_line type-with-line-feed 'unknown output type "go\\n"'
check path-with-line-feed 2 "$work/no
ne.mirel" && expect_one_error_line path-with-line-feed 'no\\nne.mirel'

# Output that was never written is no success: a full device, a closed standard output.
expect_write_failure() {
  name=$1
  status=$2
  if [ "$status" -ne 2 ]; then
    echo "FAIL $name: exit $status, expected 2"
    failures=$((failures + 1))
  fi
  expect_one_error_line "$name" 'cannot write output: '
}
if [ -w /dev/full ]; then
  "$gen" "$examples/sample.mirel" >/dev/full 2>"$work/err"
  expect_write_failure full-device $?
  "$gen" --format --input "$examples/sample.json" >/dev/full 2>"$work/err"
  expect_write_failure full-device-format $?
  "$gen" --help >/dev/full 2>"$work/err"
  expect_write_failure full-device-help $?
  # A file large enough to go out as it is generated: the first failed write is the one told.
  awk 'BEGIN { printf "{"; for (i = 0; i < 60000; i++) printf "%s\"member_%d\":%d", (i ? "," : ""), i, i; printf "}" }' \
    >"$work/wide.json"
  "$gen" "$examples/sample.mirel" --input "$work/wide.json" >/dev/full 2>"$work/err"
  expect_write_failure full-device-large $?
  expect_one_error_line full-device-large 'no space left on device'
fi
"$gen" "$examples/sample.mirel" >&- 2>"$work/err"
expect_write_failure closed-output $?

# Hostile indentation: a unit of 65,536 characters at level 100 over 100 nested objects is
# used only up to its bound, so every output stays small and the program ends normally.
nested=""
closing=""
i=0
while [ $i -lt 100 ]; do
  nested="$nested{\\\"a\\\":"
  closing="$closing}"
  i=$((i + 1))
done
unit=$(printf '%65536s' '')
for unitText in "$unit" "$(printf '%65536s' '' | tr ' ' 'x')"; do
  printf '{"id":"5B0C8A4E-3F1D-4C2A-9E7B-6D2F1A0C9B84","input":"%s1%s","_indentation":{"level":100,"unit":"%s"}}' \
    "$nested" "$closing" "$unitText" >"$work/wide-unit.mirel"
  for type in --format schema swift kotlin dart go proto; do
    if [ "$type" = --format ]; then set -- --format; else set -- --type "$type"; fi
    if check "wide-unit $type" 0 "$work/wide-unit.mirel" "$@"; then
      size=$(wc -c <"$work/out")
      if [ "$size" -gt 20000000 ]; then
        echo "FAIL wide-unit $type: $size bytes of output"
        failures=$((failures + 1))
      fi
    fi
  done
done

# Memory running out is reported, not an abort: exit 2 with one line. (The sanitizers reserve
# more address space than the limit allows, so only the plain build runs this.)
if [ -z "$sanitized" ]; then
  deep=$(printf '%500s' '' | tr ' ' '[')$(printf '%500s' '' | tr ' ' ']')
  {
    printf '{"id":"5B0C8A4E-3F1D-4C2A-9E7B-6D2F1A0C9B84","input":"['
    i=0
    while [ $i -lt 100 ]; do
      [ $i -gt 0 ] && printf ','
      printf '%s' "$deep"
      i=$((i + 1))
    done
    printf ']","_indentation":{"level":100,"unit":"%s"}}' "$(printf '%32s' '')"
  } >"$work/deep.mirel"
  (ulimit -v 300000 && exec "$gen" "$work/deep.mirel" --format >"$work/out" 2>"$work/err")
  status=$?
  if [ "$status" -ne 2 ]; then
    echo "FAIL out-of-memory: exit $status, expected 2"
    failures=$((failures + 1))
  fi
  expect_no_output out-of-memory
  expect_one_error_line out-of-memory 'out of memory'
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "all driver checks passed"
