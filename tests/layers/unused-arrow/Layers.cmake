# The small tree's own layers: an arrow to the platform that no canvas file uses.
set(TESSAMAR_LAYERS platform canvas)
set(TESSAMAR_USES_platform "")
set(TESSAMAR_USES_canvas platform)
