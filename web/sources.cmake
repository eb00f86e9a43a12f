# Web client and update agent: the MD5 digest, the HTTP client, the update agent.
list(APPEND KT_PORTABLE_SOURCES
  web/form_field.cpp
  web/http_message.cpp
  web/md5.cpp
  web/response_buffer.cpp
  web/update_answer.cpp
)
list(APPEND KT_WINDOWS_SOURCES
  web/http_client.cpp
  web/proxy_discovery.cpp
  web/update_agent.cpp
  web/update_dialogs.cpp
)
list(APPEND KT_WINDOWS_LIBS wsock32 advapi32 ole32 shell32 user32)
