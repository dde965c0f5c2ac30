# The source folders, lowest first, and the folders each one includes and
# links directly: an arrow means "uses". CMakeLists.txt makes one library per
# folder linked with exactly these; CheckIncludes.cmake fails on an include no
# arrow allows and on an arrow no include uses; tools/layer-check/draw turns
# this list into the picture in docs/architecture.md.
set(TESSAMAR_LAYERS
    platform document lumoimage telvo drawing editing output canvas filedialog dialog app)
set(TESSAMAR_USES_platform "")
set(TESSAMAR_USES_document platform)
set(TESSAMAR_USES_lumoimage platform)
set(TESSAMAR_USES_telvo "")
set(TESSAMAR_USES_drawing platform document)
set(TESSAMAR_USES_editing document)
set(TESSAMAR_USES_output platform document lumoimage drawing)
set(TESSAMAR_USES_canvas platform document lumoimage drawing editing)
set(TESSAMAR_USES_filedialog platform lumoimage)
set(TESSAMAR_USES_dialog platform document lumoimage telvo drawing output canvas)
set(TESSAMAR_USES_app platform document drawing output filedialog dialog)
