# Fills in the AppStream metadata, with the size of the screenshot PNG (IHDR's
# width and height, big-endian, at bytes 16 and 20).
file(READ ${PNG} header LIMIT 24 HEX)
if(NOT header MATCHES "^89504e470d0a1a0a")
    message(FATAL_ERROR "${PNG} is not a PNG picture")
endif()
string(SUBSTRING ${header} 32 8 w)
string(SUBSTRING ${header} 40 8 h)
math(EXPR OVRA_SCREENSHOT_WIDTH "0x${w}")
math(EXPR OVRA_SCREENSHOT_HEIGHT "0x${h}")
configure_file(${IN} ${OUT} @ONLY)
