#Fails when a source file under SRC includes a header of a layer above its own.
#Usage : cmake - DSRC = < path to src> - P check_layers.cmake
#
#Layers, bottom up : model; comm, transfer and settingsfile on model; editor on model,
#transfer and settingsfile; flows on model, comm, transfer, settingsfile and editor;
#simunit(the simulated unit) on model alone(its line times); cli(the command - line tool)
#on all of these but
#simunit, and never on app(no widgets); app on everything.

if (NOT DEFINED SRC)
message(FATAL_ERROR "SRC not set") endif()

    set(allowed_model model) set(allowed_comm model comm) set(allowed_transfer model transfer) set(
        allowed_settingsfile model
            settingsfile) set(allowed_editor model transfer settingsfile editor)
        set(allowed_flows model comm transfer settingsfile editor flows) set(
            allowed_simunit model
                simunit) set(allowed_cli model comm transfer settingsfile editor flows cli)
            set(layers model comm transfer settingsfile editor flows simunit cli app)

                set(violations "") set(checked 0) foreach (layer ${layers}) if (
                    layer STREQUAL "app") continue() endif() file(GLOB_RECURSE files
                                                                  "${SRC}/${layer}/*.h"
                                                                  "${SRC}/${layer}/*.cpp"
                                                                  "${SRC}/${layer}/*.in")
                    foreach (f ${files}) math(EXPR checked "${checked} + 1") file(
                        STRINGS
                        "${f}" includes REGEX
                        "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"") foreach (line ${includes})
                        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*"
                                             "\\1" header "${line}")
                            string(REGEX MATCH
                                   "^[^/]+/" top "${header}") if (NOT top) continue() endif()
                                string(REGEX REPLACE "/$"
                                                     "" top
                                                     "${top}")
                                    list(FIND layers "${top}" is_layer) if (
                                        is_layer LESS 0) continue() endif() list(FIND allowed_$ {
                                        layer
                                    } "${top}" ok) if (ok LESS 0) file(RELATIVE_PATH rel "${SRC}"
                                                                                         "${f}")
                                        list(APPEND violations "${rel} includes ${header}") endif()
                                            endforeach() endforeach() endforeach()

                                                if (checked EQUAL 0) message(
                                                    FATAL_ERROR
                                                    "no sources found under ${SRC}")
                                                    endif() if (violations) string(
                                                        REPLACE
                                                        ";"
                                                        "\n  " text
                                                        "${violations}")
                                                        message(
                                                            FATAL_ERROR
                                                            "includes from a layer above:\n  "
                                                            "${text}") endif()
                                                            message(
                                                                STATUS
                                                                "${checked} files, every include "
                                                                "from the same layer or one below")
