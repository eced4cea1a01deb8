# Writes a header holding the schema scripts as raw string literals.
# Called at build time with OUTPUT, USER_SQL and ARCHIVE_SQL set.

set(delimiter "tgschema")
set(body "// Generated from schema/*.sql at build time; do not edit.\n#pragma once\n\nnamespace tg::setup::scripts {\n\n")
foreach(pair "kUserSchema;${USER_SQL}" "kArchiveSchema;${ARCHIVE_SQL}")
  list(GET pair 0 name)
  list(GET pair 1 file)
  file(READ "${file}" text)
  string(FIND "${text}" ")${delimiter}\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${file} contains the raw string delimiter")
  endif()
  string(APPEND body "inline constexpr char ${name}[] = R\"${delimiter}(${text})${delimiter}\";\n\n")
endforeach()
string(APPEND body "} // namespace tg::setup::scripts\n")

file(WRITE "${OUTPUT}" "${body}")
