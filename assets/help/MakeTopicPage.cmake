# Makes one help page from a topic under topics/ and the frame every topic
# page shares (topic.htm.in): its head, title banner and navigation line.
# A topic's first line is the page title, its second the line shown under
# the title; the rest is the body of the page as it stands in the file.
#   cmake -DTOPIC=<topics/name.htm> -DFRAME=<topic.htm.in> -DPAGE=<name.htm> -P MakeTopicPage.cmake
file(READ "${TOPIC}" topic)
if(NOT topic MATCHES "^([^\n]+)\n([^\n]+)\n(.*)$")
  message(FATAL_ERROR "${TOPIC}: the first two lines must be the title and the line under it")
endif()
set(title "${CMAKE_MATCH_1}")
set(tagline "${CMAKE_MATCH_2}")
set(body "${CMAKE_MATCH_3}")
configure_file("${FRAME}" "${PAGE}" @ONLY NEWLINE_STYLE UNIX)
