# A run folder without names.txt ends either program at start-up with
# "Error opening names.txt." and status 1.
source "$(dirname "$0")/../../support/lib.sh" "$@"

for program in "${PROGRAMS[@]}"; do
  start_show "$program" "$(run_folder_without names.txt)"
  expect_exit 1
  expect_in_trace "Error opening names.txt."
  expect_not_in_trace "Init complete."
  expect_not_in_trace "CT: "
done
note "all names-file checks passed"
