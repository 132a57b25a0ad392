cmake_minimum_required(VERSION 3.25)
# End to end through the command line: a drawing imported into a task file and exported to HP-GL again,
# scaled, with the half-cut pen of the settings; the refusals with their exit codes.
# Run as: cmake -DCLI=<quorvane-cli> -DWORK=<scratch dir> -P CliExport.cmake

include(${CMAKE_CURRENT_LIST_DIR}/../support/CliScript.cmake)

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/settings")
file(WRITE "${WORK}/settings/setting.ini" "[Para]\nHCPenNumber=4\n")
file(WRITE "${WORK}/in.plt" "IN;SP1;PU0,0;PD400,0,400,400;SP3;PU800,0;PD800,400;SP4;PU1200,0;PD1200,400;")

run(rc out err "${CLI}" import "${WORK}/in.plt" -o "${WORK}/list.ctask" --settings "${WORK}/settings")
expect("import failed (${rc}): ${err}" rc EQUAL 0)

run(rc out err "${CLI}" export "${WORK}/list.ctask" -o "${WORK}/out" --scale-x 50 --scale-y 200
    --settings "${WORK}/settings")
expect("export failed (${rc}): ${err}" rc EQUAL 0)
expect("export names ${out}" out STREQUAL "${WORK}/out.plt\n")
file(READ "${WORK}/out.plt" plt)
set(expected "IN;SP1;PU0,0;PD0,0,200,0,200,800;IN;SP3;PU400,0;PD400,0,400,800;IN;SP4;PU600,0;PD600,0,600,800;PG;")
expect("exported:\n${plt}\nexpected:\n${expected}" plt STREQUAL expected)

# Words that do not fit: exit code 2, nothing written.
run(rc out err "${CLI}" export "${WORK}/list.ctask")
expect("no output (${rc}): ${err}" rc EQUAL 2 AND err MATCHES "usage: quorvane-cli export")
run(rc out err "${CLI}" export "${WORK}/list.ctask" -o "${WORK}/bad.plt" --scale-y 1,5)
expect("bad scale (${rc}): ${err}" rc EQUAL 2 AND err MATCHES "--scale-y: 请输入一个数字。")
expect("a refused scale wrote a file" NOT EXISTS "${WORK}/bad.plt")

# Failures: exit code 1 with the catalogue's message.
run(rc out err "${CLI}" export "${WORK}/missing.ctask" -o "${WORK}/none.plt")
expect("missing task file (${rc}): ${err}" rc EQUAL 1 AND err MATCHES "打开文档失败。")
file(MAKE_DIRECTORY "${WORK}/taken.plt")
run(rc out err "${CLI}" export "${WORK}/list.ctask" -o "${WORK}/taken.plt")
expect("directory as target (${rc}): ${err}" rc EQUAL 1 AND err MATCHES "无法创建文件 [^\n]*taken.plt。")
expect("the directory was replaced" IS_DIRECTORY "${WORK}/taken.plt")
