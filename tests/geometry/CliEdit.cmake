cmake_minimum_required(VERSION 3.25)
# End to end through the command line: a generated marker taken in with outline recognition and paging, then
# edited page by page with the drawing view's commands, and the refusals.
# Run as: cmake -DCLI=<quorvane-cli> -DGEN=<quorvane-gen-plt> -DWORK=<scratch dir> -P CliEdit.cmake

include(${CMAKE_CURRENT_LIST_DIR}/../support/CliScript.cmake)

# kinds_of(OUT FILE PAGE): the kinds of the curves of page PAGE (from 0) of the task file, in list order.
function(kinds_of out file page)
  run(rc json err "${CLI}" info "${file}" --json)
  expect("info --json failed (${rc}): ${err}" rc EQUAL 0)
  string(JSON curves GET "${json}" pages ${page} curves)
  string(JSON count LENGTH "${curves}")
  set(kinds "")
  if(count GREATER 0)
    math(EXPR last "${count} - 1")
    foreach(i RANGE ${last})
      string(JSON kind GET "${curves}" ${i} kind)
      list(APPEND kinds ${kind})
    endforeach()
  endif()
  set(${out} "${kinds}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/settings")
file(WRITE "${WORK}/settings/setting.ini" "[Para]\nFindOutline=1\nPLTFilePageLen=1000\n")

run(rc out err "${GEN}" -o "${WORK}/marker.plt" --pieces 20 --points 40 --seed 3)
expect("generator failed: ${err}" rc EQUAL 0)

# The intake recognises outlines (plot and full cut only, whatever the pens) and cuts pages of 1000 mm.
run(rc out err "${CLI}" import "${WORK}/marker.plt" -o "${WORK}/list.ctask" --settings "${WORK}/settings")
expect("import failed (${rc}): ${err}" rc EQUAL 0)
# The task rows, after the drawing's report.
string(REGEX MATCHALL "\n[0-9][0-9][0-9]  [^\n]+" rows "${out}")
list(LENGTH rows pages)
expect("a 20-piece marker gave ${pages} page(s) at 1000 mm:\n${out}" pages GREATER 1)
expect("page 1 is longer than 1000 mm:\n${out}" out MATCHES "\n001  [^ ]+  (1000|[1-9][0-9]?[0-9]?)\\*")
kinds_of(kinds "${WORK}/list.ctask" 0)
set(found ${kinds})
list(REMOVE_DUPLICATES found)
list(SORT found)
set(plot_and_full_cut 1 3)
expect("kinds after outline recognition: ${found}" found STREQUAL plot_and_full_cut)

# delete-plot leaves the full cuts only.
run(rc out err "${CLI}" edit "${WORK}/list.ctask" --page 1 delete-plot -o "${WORK}/cuts.ctask")
expect("edit delete-plot (${rc}): ${err}" rc EQUAL 0 AND out MATCHES "^page 1: [0-9]+ curves \\(0 plot")
kinds_of(cut_kinds "${WORK}/cuts.ctask" 0)
list(REMOVE_DUPLICATES cut_kinds)
expect("kinds after delete-plot: ${cut_kinds}" cut_kinds STREQUAL "3")

# The selected curve becomes a half cut and moves in front of the plot group; commands by number work too.
list(FIND kinds 1 plot)
math(EXPR plot1 "${plot} + 1")
run(rc out err "${CLI}" edit "${WORK}/list.ctask" --page 1 --curves ${plot1} 2021 -o "${WORK}/half.ctask")
expect("edit to-half-cut (${rc}): ${err}" rc EQUAL 0)
kinds_of(half_kinds "${WORK}/half.ctask" 0)
list(FIND half_kinds 2 half)
list(FIND half_kinds 1 first_plot)
expect("half cut at ${half}, first plot at ${first_plot}: ${half_kinds}" half GREATER -1 AND half LESS first_plot)

# Refusals write nothing.
run(rc out err "${CLI}" edit "${WORK}/list.ctask" --page 1 shrink -o "${WORK}/none.ctask")
expect("unknown command (${rc}): ${err}" rc EQUAL 2 AND err MATCHES "unknown command: shrink")
run(rc out err "${CLI}" edit "${WORK}/list.ctask" --page 99 merge -o "${WORK}/none.ctask")
expect("page out of range (${rc}): ${err}" rc EQUAL 1 AND err MATCHES "no page 99")
run(rc out err "${CLI}" edit "${WORK}/list.ctask" --page abc merge -o "${WORK}/none.ctask")
expect("page not a number (${rc}): ${err}" rc EQUAL 2 AND err MATCHES "--page takes a page number")
run(rc out err "${CLI}" edit "${WORK}/list.ctask" --page 1 --curves 0-2 merge -o "${WORK}/none.ctask")
expect("bad curve list (${rc}): ${err}" rc EQUAL 1 AND err MATCHES "bad curve list")
run(rc out err "${CLI}" edit "${WORK}/list.ctask" --page 1 merge --settings "${WORK}/missing" -o "${WORK}/none.ctask")
expect("missing settings directory (${rc}): ${err}" rc EQUAL 2 AND err MATCHES "missing: no such directory")
expect("a refused edit wrote a task file" NOT EXISTS "${WORK}/none.ctask")
