# The library's growable text buffer, used by the subsystems that return text.
list(APPEND KT_PORTABLE_SOURCES core/text_buffer.cpp)
