# Run at build time (cmake -P): writes the man page of PROGRAM from its own
# --help, so the page can never lag behind the options. The help text goes
# in as it prints (a no-fill block), since its columns are laid out by hand.
# With COMMANDS set, the program lists its commands (PROGRAM --commands, one
# a line) and each one's "PROGRAM WORDS --help" becomes a section of its own;
# a command whose help fails fails the page.
#   PROGRAM, NAME, SUMMARY, VERSION, OUTPUT, [COMMANDS]

# Plain text that roff must print as it is: no escapes, no requests.
function(roff_literal out text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(help_of out)
  execute_process(COMMAND "${PROGRAM}" ${ARGN} --help
                  OUTPUT_VARIABLE help RESULT_VARIABLE rc ERROR_QUIET TIMEOUT 20)
  if(NOT rc EQUAL 0)
    set(help "")
  endif()
  # Qt's help names the program by the path it was started with.
  string(REPLACE "${PROGRAM}" "${NAME}" help "${help}")
  set(${out} "${help}" PARENT_SCOPE)
endfunction()

help_of(help)
if(help STREQUAL "")
  message(FATAL_ERROR "${PROGRAM} --help failed")
endif()
roff_literal(help "${help}")
string(TOUPPER "${NAME}" title)
string(REPLACE "-" "\\-" name_roff "${NAME}")
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  string(TIMESTAMP date "%Y-%m-%d" UTC)
else()
  string(TIMESTAMP date "%Y-%m-%d")
endif()

set(page ".TH \"${title}\" 1 \"${date}\" \"T27 Controller ${VERSION}\" \"User Commands\"\n")
string(APPEND page ".SH NAME\n${name_roff} \\- ${SUMMARY}\n")
string(APPEND page ".SH DESCRIPTION\n.nf\n${help}.fi\n")
set(commands "")
set(command_list "")
if(COMMANDS)
  include(${CMAKE_CURRENT_LIST_DIR}/program_commands.cmake)
  program_commands(command_list)
endif()
foreach(command IN LISTS command_list)
  string(REPLACE " " ";" words "${command}")
  help_of(sub ${words})
  if(sub STREQUAL "")
    message(FATAL_ERROR "${NAME} ${command} --help failed")
  endif()
  roff_literal(sub "${sub}")
  string(REPLACE "-" "\\-" command_roff "${command}")
  string(APPEND commands ".SS \"${name_roff} ${command_roff}\"\n.nf\n${sub}.fi\n")
endforeach()
if(commands)
  string(APPEND page ".SH COMMANDS\n${commands}")
endif()
string(APPEND page ".SH SEE ALSO\n")
set(others "")
foreach(other t27-controller t27ctl t27-unit-sim)
  if(NOT other STREQUAL NAME)
    string(REPLACE "-" "\\-" other "${other}")
    list(APPEND others "\\fB${other}\\fR(1)")
  endif()
endforeach()
list(JOIN others ",\n" others)
string(APPEND page "${others}\n")
file(WRITE "${OUTPUT}" "${page}")
