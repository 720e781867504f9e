# Makes one help page from a topic under topics/ and the frame every topic
# page shares (topic.htm.in): its head, title banner and navigation line.
# A topic's first line is the page title, its second the line shown under
# the title; the rest is the body of the page as it stands in the file.
#   cmake -DTOPIC=<topics/name.htm> -DFRAME=<topic.htm.in> -DPAGE=<name.htm> -P MakeTopicPage.cmake
file(READ "${TOPIC}" topic)
string(FIND "${topic}" "\n" title_end)
if(title_end LESS 1)
  message(FATAL_ERROR "${TOPIC}: the first two lines must be the title and the line under it")
endif()
math(EXPR tagline_start "${title_end} + 1")
string(SUBSTRING "${topic}" 0 ${title_end} title)
string(SUBSTRING "${topic}" ${tagline_start} -1 rest)
string(FIND "${rest}" "\n" tagline_end)
if(tagline_end LESS 1)
  message(FATAL_ERROR "${TOPIC}: the first two lines must be the title and the line under it")
endif()
math(EXPR body_start "${tagline_end} + 1")
string(SUBSTRING "${rest}" 0 ${tagline_end} tagline)
string(SUBSTRING "${rest}" ${body_start} -1 body)
configure_file("${FRAME}" "${PAGE}" @ONLY NEWLINE_STYLE UNIX)
