# cmake -DVELLICOR=vellicor -DMODULE=Honer.8li -DVERSION=x.y.z -DPLUGINDIR=dir -DDATADIR=dir
#       -DMAN=vellicor.1 -DCOMPLETION=vellicor.bash -P FromHelp.cmake
#
# Writes the man page vellicor(1) and the bash completion from what the built
# command prints: `vellicor --help` names the subcommands, each
# `vellicor <command> --help` is that command's section of the page word for
# word, the options the completion offers are the ones those texts name, and
# the plug-in names are the ones `vellicor list` reads from the module. Help
# and page are the same text, so they cannot drift.

function(run_help out)
  execute_process(COMMAND ${VELLICOR} ${ARGN}
                  OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "vellicor ${ARGN} failed (${status}): ${stderr}")
  endif()
  # The top help goes to standard error (as usage does), a command's to
  # standard output.
  set(${out} "${stdout}${stderr}" PARENT_SCOPE)
endfunction()

# Text as roff: backslashes escaped, every '-' a minus sign (options and
# examples are typed as they are shown), lines starting with a control
# character made plain text.
function(roff out text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

run_help(top --help)
# "usage: vellicor <command> [options]", then "commands:" and one
# "  NAME  summary" line each.
string(REGEX MATCH "commands:\n(( +[a-z]+ +[^\n]+\n)+)" block "${top}")
if(NOT block)
  message(FATAL_ERROR "vellicor --help names no commands:\n${top}")
endif()
string(REGEX MATCHALL " +[a-z]+ +[^\n]+\n" lines "${CMAKE_MATCH_1}")
set(commands "")
set(value_options "")
set(man_commands "")
set(completion_options "")
foreach(line IN LISTS lines)
  string(REGEX MATCH "^ +([a-z]+) +([^\n]+)" ignored "${line}")
  set(command ${CMAKE_MATCH_1})
  set(summary "${CMAKE_MATCH_2}")
  list(APPEND commands ${command})
  run_help(help ${command} --help)
  string(STRIP "${help}" help)
  roff(help_roff "${help}")
  roff(summary_roff "${summary}")
  string(APPEND man_commands ".SS ${command}\n${summary_roff}.\n.PP\n.nf\n${help_roff}\n.fi\n")
  # Every option the help names, long and short. (Brackets go first: in a
  # CMake list they would hold the separators between items.)
  string(REGEX REPLACE "[][;]" " " plain "${help}")
  string(REGEX MATCHALL "(^| |\\|)(--[a-z][a-z-]*|-[a-z])[ =\n,]" options "${plain}")
  set(names "")
  foreach(option IN LISTS options)
    string(REGEX REPLACE "^[ |]?(-[-a-z]+).*" "\\1" option "${option}")
    list(APPEND names ${option})
  endforeach()
  list(APPEND names --help)
  list(REMOVE_DUPLICATES names)
  # The options that take a value: those the help shows followed by one
  # ("--module FILE", "--jobs N", "--depth 8|16").
  string(REGEX MATCHALL "(--[a-z][a-z-]*|-[a-z])[ =][A-Z0-9]" valued "${plain}")
  foreach(option IN LISTS valued)
    string(REGEX REPLACE "[ =][A-Z0-9]$" "" option "${option}")
    list(APPEND value_options ${option})
  endforeach()
  list(JOIN names " " names)
  string(APPEND completion_options "    ${command}) options='${names}' ;;\n")
endforeach()
list(JOIN commands " " command_words)
# Values the completion cannot know: nothing is offered after these.
list(REMOVE_DUPLICATES value_options)
list(REMOVE_ITEM value_options --plugin --module -o --output)
list(JOIN value_options " | " value_options)
if(NOT value_options)
  message(FATAL_ERROR "no option of vellicor takes a value?")
endif()

string(REGEX MATCH "usage: ([^\n]+)" ignored "${top}")
roff(synopsis "${CMAKE_MATCH_1}")
string(STRIP "${top}" top)
roff(top_roff "${top}")

# The plug-in names: the menu names `vellicor list` prints, without "...".
run_help(listing list --module ${MODULE})
string(REGEX MATCHALL "\n[A-Z][^\n]*\\.\\.\\.\n" menus "\n${listing}")
set(plugins "")
foreach(menu IN LISTS menus)
  string(REGEX REPLACE "^\n(.*)\\.\\.\\.\n$" "\\1" name "${menu}")
  string(APPEND plugins "        '${name}'\n")
endforeach()
if(NOT plugins)
  message(FATAL_ERROR "vellicor list named no plug-ins:\n${listing}")
endif()

roff(plugindir "${PLUGINDIR}")
roff(datadir "${DATADIR}")
file(WRITE ${MAN}.tmp
".\\\" Made at build time from the help vellicor prints (packaging/FromHelp.cmake); do not edit.
.TH VELLICOR 1 \"\" \"vellicor ${VERSION}\" \"User Commands\"
.SH NAME
vellicor \\- the host of the Vellicor Honer sharpening plug-in module
.SH SYNOPSIS
.B ${synopsis}
.SH DESCRIPTION
.B vellicor
loads the plug-in module
.I Honer.8li
as a photo-editing host does and runs, lists, shows and documents its four
plug-ins. The first argument names the command; each command's own options
follow it.
.PP
.nf
${top_roff}
.fi
.SH COMMANDS
${man_commands}.SH FILES
.TP
.I ${plugindir}/Honer.8li
The module, found by every command when no
.B \\-\\-module
is given.
.TP
.I ${plugindir}/vlh_help/Honer\\-Manual\\-123.pdf
The user manual, which the plug-ins' Help button opens.
.TP
.I ${datadir}/honer\\-chart.tif
The project's test chart, an image to try
.B vellicor run
and
.B vellicor sheet
on.
.SH EXAMPLES
.nf
vellicor list
vellicor run ${datadir}/honer\\-chart.tif \\-o sharpened.tif \\e
    \\-\\-plugin \"Vellicor Output Honer\" \\-\\-set \"Inkjet Output Honers\" \\e
    \\-\\-effect \"Glossy and Lustre Paper, 300 ppi\"
.fi
")
file(RENAME ${MAN}.tmp ${MAN})

file(WRITE ${COMPLETION}.tmp
"# bash completion for vellicor: its commands, each command's options and
# the plug-in names. Made at build time from the help vellicor prints and the
# plug-ins its module lists (packaging/FromHelp.cmake); do not edit.
_vellicor() {
    local cur=\${COMP_WORDS[COMP_CWORD]} prev=\${COMP_WORDS[COMP_CWORD-1]}
    local commands='${command_words}'
    COMPREPLY=()
    if [[ \$COMP_CWORD -eq 1 ]]; then
        mapfile -t COMPREPLY < <(compgen -W \"\$commands --help\" -- \"\$cur\")
        return
    fi
    case \$prev in
    --plugin)
        local IFS=\$'\\n'
        # Names with blanks: offered quoted as typed so far, else escaped.
        local plugins=(
${plugins}        )
        local typed=\${cur#[\\\"\\']}
        mapfile -t COMPREPLY < <(compgen -W \"\${plugins[*]}\" -- \"\$typed\")
        if [[ \$typed == \"\$cur\" ]]; then
            COMPREPLY=(\"\${COMPREPLY[@]// /\\\\ }\")
        fi
        return
        ;;
    --module | -o | --output)
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- \"\$cur\")
        return
        ;;
    ${value_options})
        return
        ;;
    esac
    local options=''
    case \${COMP_WORDS[1]} in
${completion_options}    esac
    if [[ \$cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W \"\$options\" -- \"\$cur\")
    else
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- \"\$cur\")
    fi
}
complete -F _vellicor vellicor
")
file(RENAME ${COMPLETION}.tmp ${COMPLETION})
