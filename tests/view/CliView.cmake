cmake_minimum_required(VERSION 3.25)
# The drawing view's engine through the command line: a test square fitted to a window, a click, a band, a
# wheel step, and the refusals.
# Run as: cmake -DCLI=<quorvane-cli> -DGEN=<quorvane-gen-plt> -DWORK=<scratch dir> -P CliView.cmake

include(${CMAKE_CURRENT_LIST_DIR}/../support/CliScript.cmake)

# primitive(OUT JSON INDEX): line INDEX of the display list, one primitive a line as the command prints it.
function(primitive out json index)
  string(REGEX REPLACE ".*\"primitives\": \\[\n" "" list "${json}")
  string(REGEX MATCHALL "[^\n]+" lines "${list}")
  list(GET lines ${index} line)
  set(${out} "${line}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
run(rc out err "${GEN}" -o "${WORK}/square.plt" --square 10)
expect("generator failed: ${err}" rc EQUAL 0)
run(rc out err "${CLI}" import "${WORK}/square.plt" -o "${WORK}/square.ctask")
expect("import failed (${rc}): ${err}" rc EQUAL 0)

# Fitted to 1040 x 780: black window, the frame around the display area, the first label.
run(rc json err "${CLI}" view "${WORK}/square.ctask" --page 1 --size 1040x780 --curves 1)
expect("view failed (${rc}): ${err}" rc EQUAL 0)
string(JSON step GET "${json}" view gridStep)
expect("grid step ${step}" step EQUAL 50)
primitive(fill "${json}" 0)
expect("first primitive: ${fill}" fill MATCHES "\"fill\", \"rect\": \\[0, 0, 1040, 780\\], \"colour\": \\[0, 0, 0\\]")
primitive(frame "${json}" 1)
expect("frame: ${frame}" frame MATCHES "\"rect\", \"rect\": \\[36, 46, 977, 754\\], \"pen\": {\"colour\": \\[0, 240, 0\\]")
primitive(label "${json}" 2)
expect("first label: ${label}" label MATCHES "\"text\", \"at\": \\[4, 742\\], \"text\": \"000\"")
# The square's outline, 100 mm from (40, 750), with its vertices marked.
expect("outline of curve 1:\n${json}" json MATCHES
       "\"polyline\", \"curve\": 1, [^\n]*\"points\": \\[\\[40, 750\\], \\[117, 750\\], \\[117, 672\\]")
expect("vertex squares of curve 1:\n${json}" json MATCHES "\"squares\", \"curve\": 1, [^\n]*\\[37, 747, 43, 753\\]")

# A click on the left side of the outline selects it alone; a band to the left around the square takes
# every curve of the drawing.
run(rc json err "${CLI}" view "${WORK}/square.ctask" --page 1 --size 1040x780 --curves 2-5 --click 41,700)
expect("click (${rc}): ${err}" rc EQUAL 0)
string(JSON selected GET "${json}" selected)
expect("after the click: ${selected}" selected MATCHES "^\\[ *1 *\\]$")
run(rc json err "${CLI}" view "${WORK}/square.ctask" --page 1 --size 1040x780 --band 130,600,30,760)
string(JSON count LENGTH "${json}" selected)
expect("the band selected ${count} curves" rc EQUAL 0 AND count GREATER 20)

# One wheel step in and one out at the same point give the fitted zoom back.
run(rc json err "${CLI}" view "${WORK}/square.ctask" --page 1 --size 1040x780 --wheel 500,400,+1)
string(JSON zoom GET "${json}" view pixelsPerUnit)
expect("zoom after a step in: ${zoom}" rc EQUAL 0 AND zoom MATCHES "^0\\.02430555")
run(rc json err "${CLI}" view "${WORK}/square.ctask" --page 1 --size 1040x780 --wheel 500,400,+1 --wheel 500,400,-1)
string(JSON zoom GET "${json}" view pixelsPerUnit)
expect("zoom after a step in and out: ${zoom}" rc EQUAL 0 AND zoom MATCHES "^0\\.01944444")

# Wrong words give the usage and 2; a page that is not there 1.
foreach(words "--size;1040" "--size;0x780" "--size;1040x780;--click;1" "--size;1040x780;--wheel;1,2,3"
              "--size;1040x780;--band;1,2,3,4,alt" "--size;1040x780;--page")
  run(rc out err "${CLI}" view "${WORK}/square.ctask" --page 1 ${words})
  expect("${words} gave ${rc}: ${err}" rc EQUAL 2 AND err MATCHES "usage: quorvane-cli view")
endforeach()
run(rc out err "${CLI}" view "${WORK}/square.ctask" --page 2 --size 1040x780)
expect("page 2 gave ${rc}: ${err}" rc EQUAL 1 AND err MATCHES "no page 2")
