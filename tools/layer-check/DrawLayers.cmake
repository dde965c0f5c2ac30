# cmake [-DOUT=<file.dot>] [-DCHECK=<file.dot>] -P DrawLayers.cmake
# Writes the declared layers (Layers.cmake) as a Graphviz graph: one box per
# source folder, one arrow per declared "uses". With OUT it writes the graph
# (and, when Graphviz's dot is installed, the picture beside it as .svg);
# with CHECK it fails when that file is not what the declaration gives, so
# the picture in docs/ cannot drift from the layers the build uses.
cmake_minimum_required(VERSION 3.24)
include(${CMAKE_CURRENT_LIST_DIR}/Layers.cmake)

set(JOB_platform "files, prompts, fonts, settings")
set(JOB_document "records and the photo-info file")
set(JOB_lumoimage "JPEG decoding and encoding, Exif, colour")
set(JOB_telvo "laser range finders")
set(JOB_drawing "records drawn onto a picture")
set(JOB_editing "changes to the records, undo")
set(JOB_output "export, batch export, PDF report")
set(JOB_canvas "the photo view widget")
set(JOB_filedialog "the open dialog with its preview")
set(JOB_dialog "the main window and its dialogs")
set(JOB_app "start-up and the command line")

set(DOT "// Made by tools/layer-check/DrawLayers.cmake from Layers.cmake; do not edit.\n")
string(APPEND DOT "digraph layers {\n    rankdir=BT;\n    node [shape=box, fontname=\"Liberation Sans\"];\n")
foreach(layer ${TESSAMAR_LAYERS})
    string(APPEND DOT "    ${layer} [label=\"src/${layer}\\n${JOB_${layer}}\"];\n")
endforeach()
foreach(layer ${TESSAMAR_LAYERS})
    foreach(used ${TESSAMAR_USES_${layer}})
        string(APPEND DOT "    ${layer} -> ${used};\n")
    endforeach()
endforeach()
string(APPEND DOT "}\n")

if(CHECK)
    file(READ ${CHECK} committed)
    if(NOT committed STREQUAL DOT)
        message(FATAL_ERROR "${CHECK} is not what Layers.cmake declares; redraw it with "
            "cmake -DOUT=${CHECK} -P tools/layer-check/DrawLayers.cmake")
    endif()
    message(STATUS "${CHECK} matches the declared layers")
endif()
if(OUT)
    file(WRITE ${OUT} "${DOT}")
    find_program(DOT_PROGRAM dot)
    if(DOT_PROGRAM)
        string(REGEX REPLACE "\\.dot$" ".svg" svg ${OUT})
        execute_process(COMMAND ${DOT_PROGRAM} -Tsvg ${OUT} -o ${svg} COMMAND_ERROR_IS_FATAL ANY)
    endif()
endif()
