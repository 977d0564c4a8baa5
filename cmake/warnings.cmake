# Warnings are errors for the project's own code (not for GoogleTest).
set(ORV_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion -Werror)
