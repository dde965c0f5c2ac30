# The source folders, lowest first, and the folders each one may use directly
# (an arrow means "may use"; what those use may be used too):
#   platform -> document -> lumoimage, telvo -> canvas -> filedialog -> dialog -> app
# lumoimage and telvo do not use each other. Read by CMakeLists.txt (one
# library per folder) and by CheckIncludes.cmake (the includes under src/).
set(TESSAMAR_LAYERS platform document lumoimage telvo canvas filedialog dialog app)
set(TESSAMAR_USES_platform "")
set(TESSAMAR_USES_document platform)
set(TESSAMAR_USES_lumoimage document)
set(TESSAMAR_USES_telvo document)
set(TESSAMAR_USES_canvas lumoimage telvo)
set(TESSAMAR_USES_filedialog canvas)
set(TESSAMAR_USES_dialog filedialog)
set(TESSAMAR_USES_app dialog)
