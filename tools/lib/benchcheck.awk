# Judges benchmark output against the goals its lines print. For every line
# that carries a goal it prints "<verdict>\t<figure>\t<line>", where the
# verdict is PASS or OVER and the figure is the line with its numbers and
# verdict words taken out (the same figure in a second run has the same name). Lines without a
# goal print nothing. The forms it knows:
#   "... PASS" / "... OVER"              the program judged it itself
#   "<value> [ms|%] (goal <= G)"         also "goal < G"
#   "... ms ... ms (goal < G each)"       every "<value> ms" on the line
#   "snapshot+apply ... ratio R"          judged by the last ratio (the flushed
#                                         file write left out) against 1.3
#   "longest unanswered ... [goal: < G ms]"  the goal is printed only when over
#   "... within ..."                      under its budget
# shellcheck disable=all
function figure(line,    f) {
  f = line
  sub(/[ \t]*\[goal: <[^]]*\]/, "", f)
  gsub(/(^|[ \t])(PASS|OVER|within)([ \t]|$)/, " ", f)
  gsub(/[0-9]+(\.[0-9]+)?/, "#", f)
  gsub(/[ \t]+/, " ", f)
  return f
}
# A figure printed more than once (once per Windows version) is told apart
# by its place among the lines of that name.
function report(over, line,    f) {
  f = figure(line)
  printf "%s\t%s [%d]\t%s\n", over ? "OVER" : "PASS", f, ++seen[f], line
}
{
  sub(/\r$/, "")
  line = $0
  if (line ~ /(^|[ \t])OVER([ \t]|$)/) { report(1, line); next }
  if (line ~ /(^|[ \t])PASS([ \t]|$)/) { report(0, line); next }
  if (line ~ /longest unanswered/) { report(line ~ /\[goal: </, line); next }
  if (line ~ /(^|[ \t])within([ \t]|$)/) { report(0, line); next }
  if (line ~ /^snapshot\+apply/ && match(line, /ratio [0-9.]+$/)) {
    report(substr(line, RSTART + 6) + 0 > 1.3, line); next
  }
  if (match(line, /\(goal <=? [0-9.]+ each\)/)) {
    g = substr(line, RSTART, RLENGTH); gsub(/[^0-9.]/, "", g)
    rest = line; over = 0
    while (match(rest, /[0-9.]+ ms/)) {
      if (substr(rest, RSTART, RLENGTH - 3) + 0 >= g + 0) over = 1
      rest = substr(rest, RSTART + RLENGTH)
    }
    report(over, line); next
  }
  if (match(line, /[0-9.]+( ms| %)?[ \t]+\(goal <=? [0-9.]+\)/)) {
    m = substr(line, RSTART, RLENGTH)
    split(m, parts, /[ \t(]+/)
    value = parts[1] + 0
    strict = m ~ /goal < /
    g = m; sub(/.*goal <=? /, "", g); sub(/\).*/, "", g); g += 0
    report(strict ? value >= g : value > g, line); next
  }
}
