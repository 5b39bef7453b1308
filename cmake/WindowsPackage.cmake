# SPDX-License-Identifier: MIT
# The Windows program folder: ZRDorvel.exe and its help page side by side. scripts/windows
# adds the Qt and compiler DLLs and the plugins, and makes the setup program from it.
install(TARGETS zrdorvel RUNTIME DESTINATION .)
install(FILES "${PROJECT_SOURCE_DIR}/resources/help/ZRDorvelHelp.html" DESTINATION .)
