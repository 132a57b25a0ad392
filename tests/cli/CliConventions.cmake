cmake_minimum_required(VERSION 3.25)
# The command-line programs as users of Debian tools expect them: -h/--help prints the usage on standard output
# and exits 0, --version prints the version, words that do not fit print the usage on standard error and exit
# 2, and reading a settings directory never writes into it.
# Run as: cmake -DCLI=<quorvane-cli> -DSIM=<quorvane-sim> -DWORK=<scratch dir> -P CliConventions.cmake

include(${CMAKE_CURRENT_LIST_DIR}/../support/CliScript.cmake)

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/settings")
file(WRITE "${WORK}/settings/setting.ini" "[Para]\nLanguage=1\n")

foreach(help -h --help)
  run(rc out err "${CLI}" ${help})
  expect("quorvane-cli ${help} (${rc}): ${err}" rc EQUAL 0 AND out MATCHES "^usage: quorvane-cli" AND err MATCHES "^$")
  run(rc out err "${SIM}" ${help})
  expect("quorvane-sim ${help} (${rc}): ${err}" rc EQUAL 0 AND out MATCHES "^usage: quorvane-sim" AND err MATCHES "^$")
endforeach()
foreach(program "${CLI}" "${SIM}")
  run(rc out err "${program}" --version)
  expect("${program} --version (${rc}): ${out}" rc EQUAL 0 AND out MATCHES "^quorvane-(cli|sim) [0-9]+\\.[0-9]+")
endforeach()

foreach(command settings machine import info edit view export job preview send station)
  run(rc out err "${CLI}" ${command} --help)
  expect("${command} --help (${rc}): ${err}"
         rc EQUAL 0 AND out MATCHES "^usage: quorvane-cli ${command}" AND err MATCHES "^$")
  run(rc out err "${CLI}" ${command} --no-such-option)
  expect("${command} --no-such-option (${rc}): ${out}"
         rc EQUAL 2 AND err MATCHES "unknown option --no-such-option" AND err MATCHES "usage: quorvane-cli ${command}"
         AND out MATCHES "^$")
endforeach()
run(rc out err "${CLI}")
expect("no command (${rc})" rc EQUAL 2 AND err MATCHES "^usage: quorvane-cli" AND out MATCHES "^$")
run(rc out err "${CLI}" nonsense)
expect("unknown command (${rc})" rc EQUAL 2 AND err MATCHES "no command \"nonsense\"")
run(rc out err "${SIM}" --port)
expect("sim without a value (${rc})" rc EQUAL 2 AND err MATCHES "option --port needs a value")
file(WRITE "${WORK}/a-file" "")
run(rc out err "${SIM}" --port 0 --out "${WORK}/a-file/jobs")
expect("sim with nowhere to write its jobs (${rc})" rc EQUAL 1 AND err MATCHES "cannot write jobs to")

# One name for one option: --settings everywhere, the old --dir of `settings` still taken.
foreach(spelling --settings --dir)
  run(rc out err "${CLI}" settings ${spelling} "${WORK}/settings")
  expect("settings ${spelling} (${rc}): ${err}" rc EQUAL 0 AND out MATCHES "language +English")
endforeach()

# Reading options never writes into the folder read from: labels take the built-in fonts.
string(ASCII 3 etx)
file(WRITE "${WORK}/label.plt" "IN;SP1;PU0,0;PD400,400;PU0,800;LBQuorvane${etx};")
run(rc out err "${CLI}" import "${WORK}/label.plt" -o "${WORK}/label.ctask" --settings "${WORK}/settings")
expect("import with labels (${rc}): ${err}" rc EQUAL 0)
file(GLOB written RELATIVE "${WORK}/settings" "${WORK}/settings/*")
expect("the settings folder now holds: ${written}" written STREQUAL "setting.ini")
