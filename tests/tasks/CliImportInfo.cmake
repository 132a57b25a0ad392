cmake_minimum_required(VERSION 3.25)
# End to end through the command line: generated drawings imported into a task file, listed back, and the
# refusals with their messages.
# Run as: cmake -DCLI=<quorvane-cli> -DGEN=<quorvane-gen-plt> -DWORK=<scratch dir> -P CliImportInfo.cmake

include(${CMAKE_CURRENT_LIST_DIR}/../support/CliScript.cmake)

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/settings")
file(WRITE "${WORK}/settings/setting.ini" "[Para]\nLanguage=1\nAutoStartWork=1\n")

run(rc out err "${GEN}" -o "${WORK}/marker.plt" --pieces 12 --points 40 --pages 3 --seed 5)
expect("generator failed: ${err}" rc EQUAL 0)
run(rc out err "${GEN}" -o "${WORK}/small.plt" --pieces 4 --points 20 --seed 6 --per-command 1)
expect("generator failed: ${err}" rc EQUAL 0)

# Default settings: Chinese texts, Manual pages.
run(rc out err "${CLI}" import "${WORK}/marker.plt" "${WORK}/small.plt" -o "${WORK}/list.ctask")
expect("import failed (${rc}): ${err}" rc EQUAL 0)
# The report block of each drawing comes first; the rows follow.
string(REGEX MATCHALL "[^\n]*mm drawn, dialect 0\n" reports "${out}")
list(LENGTH reports report_count)
expect("import reported ${report_count} drawings instead of 2:\n${out}" report_count EQUAL 2)
string(REGEX REPLACE "^([^\n]*\n  [^\n]*\n  [^\n]*\n  [^\n]*\n  [^\n]*\n)+" "" out "${out}")
string(REGEX MATCHALL "[^\n]+\n" rows "${out}")
list(LENGTH rows count)
expect("import listed ${count} rows instead of 4:\n${out}" count EQUAL 4)
expect("first row:\n${out}" out MATCHES "^001  手动开始  [0-9]+\\*[0-9]+  [0-9-]+ [0-9:]+  marker.plt---第001页\n")
expect("last row:\n${out}" out MATCHES "004  手动开始  [^\n]*small.plt---第001页\n$")

run(rc info err "${CLI}" info "${WORK}/list.ctask")
expect("info failed (${rc}): ${err}" rc EQUAL 0)
string(REGEX REPLACE "  [0-9-]+ [0-9:]+  " " " info_rows "${info}")
string(REGEX REPLACE "  [0-9-]+ [0-9:]+  " " " import_rows "${out}")
expect("info differs from import:\n${info}\n${out}" info_rows STREQUAL import_rows)

run(rc json err "${CLI}" info "${WORK}/list.ctask" --json)
expect("info --json failed (${rc}): ${err}" rc EQUAL 0)
string(JSON pages LENGTH "${json}" pages)
expect("JSON holds ${pages} pages" pages EQUAL 4)
string(JSON name GET "${json}" pages 2 fileName)
string(JSON number GET "${json}" pages 2 pageNumber)
expect("third page is ${name} ${number}" name STREQUAL "marker.plt" AND number EQUAL 3)
string(JSON first_page GET "${json}" pages 0 curves)
string(JSON curves LENGTH "${first_page}")
set(kinds "")
math(EXPR last "${curves} - 1")
foreach(i RANGE ${last})
  string(JSON kind GET "${first_page}" ${i} kind)
  string(JSON points GET "${first_page}" ${i} points)
  expect("curve ${i} has ${points} points" points GREATER 1)
  list(APPEND kinds ${kind})
endforeach()
list(REMOVE_DUPLICATES kinds)
list(SORT kinds)
set(all_kinds 1 2 3)
expect("kinds of page 1: ${kinds}" kinds STREQUAL all_kinds)

# Settings from a directory: English texts and Auto pages.
run(rc out err "${CLI}" import "${WORK}/small.plt" -o "${WORK}/auto.ctask" --settings "${WORK}/settings")
expect("import with settings (${rc}):\n${out}${err}" rc EQUAL 0 AND out MATCHES "\n001  Auto  ")

# A drawing that cannot be read: a message naming why, a non-zero status, and no task file.
file(WRITE "${WORK}/short.plt" "PU0,0;PD;")
run(rc out err "${CLI}" import "${WORK}/marker.plt" "${WORK}/short.plt" -o "${WORK}/none.ctask")
expect("short drawing (${rc}): ${err}" NOT rc EQUAL 0 AND err MATCHES "short.plt 太小或太大，无法读取（图纸文件为 10 至 8000000 字节）")
expect("a failed import wrote a task file" NOT EXISTS "${WORK}/none.ctask")
file(READ "${WORK}/small.plt" small_before)
run(rc out err "${CLI}" import "${WORK}/small.plt" -o "${WORK}/./small.plt")
file(READ "${WORK}/small.plt" small_after)
expect("import over its own drawing (${rc}): ${err}" rc EQUAL 2 AND small_after STREQUAL small_before)

# A task file that is not one.
file(WRITE "${WORK}/bad.ctask" "not a task file")
run(rc out err "${CLI}" info "${WORK}/bad.ctask")
expect("bad task file (${rc}): ${err}" NOT rc EQUAL 0 AND err MATCHES "访问 [^\n]*bad.ctask 时尝试越过其结尾。")
