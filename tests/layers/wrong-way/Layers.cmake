# The small tree's own layers: the canvas may use the platform, not the reverse.
set(TESSAMAR_LAYERS platform canvas)
set(TESSAMAR_USES_platform "")
set(TESSAMAR_USES_canvas platform)
