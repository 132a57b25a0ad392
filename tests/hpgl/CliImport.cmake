cmake_minimum_required(VERSION 3.25)
# The import report through the command line: the design's dialect reads the test drawings into the very task
# files it always did, an empty drawing is an error with what it held, and the wider dialect on request.
# Run as: cmake -DCLI=<quorvane-cli> -DDRAWINGS=<resources/TestPlt> -DWORK=<scratch dir> -P CliImport.cmake

include(${CMAKE_CURRENT_LIST_DIR}/../support/CliScript.cmake)

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

# The task files of the test drawings as the reader made them before the wider dialect existed (the file
# time, stored in every page, held fixed).
set(pinned
  "10x10=c5fe89b21e11891cf3d6eb61e5cb986953cd66e70b846fad6e384cff5b5974ec"
  "10x10_HC_FC=18004af2959c336b9bfed8659a470754dfca21761adf80b9a1508752d12f6286"
  "20x20=94066d8ffa6144bd25e6d2a05cb2e0eabb1d68343f8f24704ac0896e75781a4c"
  "30x30=5db182bab6612e0bfa7f79b46526a56d2c6f7a4604782c2a02257ccea8fa51e7"
  "30x30_HC_FC=a68a9362473d46165daa03f2f6c5c79c43cb77a55152353215303725832c0607"
  "40x40=b7d55986947ce4133de56feba93160fa775ac80d05d908c066676fd8175adaf3"
  "50x50=44557a5bf59afd63177fd37118b6e825ef169c8effa05e15a1e0c276741e40d7")
foreach(pin IN LISTS pinned)
  string(REPLACE "=" ";" pin "${pin}")
  list(GET pin 0 name)
  list(GET pin 1 expected)
  file(COPY_FILE "${DRAWINGS}/${name}.plt" "${WORK}/${name}.plt")
  execute_process(COMMAND touch -d @1000000000 "${WORK}/${name}.plt")
  foreach(dialect IN ITEMS "" "--dialect=0")
    set(words "${WORK}/${name}.plt" -o "${WORK}/${name}.ctask")
    if(dialect)
      list(APPEND words --dialect 0)
    endif()
    run(rc out err "${CLI}" import ${words})
    expect("${name} ${dialect} (${rc}): ${err}" rc EQUAL 0)
    file(SHA256 "${WORK}/${name}.ctask" got)
    expect("${name} ${dialect}: the task file changed (${got})" got STREQUAL expected)
  endforeach()
endforeach()

# The report block before the pages.
run(rc out err "${CLI}" import "${WORK}/10x10.plt" -o "${WORK}/one.ctask")
expect("report (${rc}): ${out}" rc EQUAL 0 AND out MATCHES "10x10.plt: 1 page, [0-9]+ curves?, [0-9.]+ x [0-9.]+ mm")
expect("met: ${out}" out MATCHES "\n  met: [^\n]*PD [0-9]+" AND out MATCHES "\n  pens: ")

# An empty drawing under the design's dialect: exit 1, what it held on stderr, nothing written.
file(WRITE "${WORK}/encoded.plt" "IN;SP1;PE7<=GeGeCb_;")
run(rc out err "${CLI}" import "${WORK}/encoded.plt" -o "${WORK}/empty.ctask")
expect("empty drawing (${rc}): ${err}" rc EQUAL 1 AND err MATCHES "encoded.plt 中没有图形" AND
       err MATCHES "跳过的指令：[^\n]*PE 1")
expect("an empty drawing wrote a task file" NOT EXISTS "${WORK}/empty.ctask")

# The wider dialect reads it; the JSON report for scripts.
run(rc out err "${CLI}" import "${WORK}/encoded.plt" -o "${WORK}/wide.ctask" --dialect 1 --json)
expect("wide (${rc}): ${err}" rc EQUAL 0)
expect("json: ${out}" out MATCHES "^{\"files\": \\[{\"file\": \"[^\"]*encoded.plt\", \"dialect\": 1, \"pages\": 1, \"curves\": 1, ")
expect("json counts: ${out}" out MATCHES "\"met\": {\"IN\": 1, \"PE\": 1, \"SP\": 1}, \"skipped\": {}")
expect("json length: ${out}" out MATCHES "\"length_mm\": 1.250")

run(rc out err "${CLI}" import "${WORK}/encoded.plt" -o "${WORK}/bad.ctask" --dialect 2)
expect("dialect 2 (${rc}): ${err}" rc EQUAL 2 AND err MATCHES "usage: quorvane-cli import")
