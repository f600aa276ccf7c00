# Installs one manual page, run by `cmake --install` and by cpack:
# VANTREL_MAN_PAGE (the page), VANTREL_MAN_DIR (its folder under the
# prefix) and VANTREL_PROGRAM_FOLDER (the program folder under the prefix)
# are set by the install rule. @PROGRAM_FOLDER@ in the page becomes the
# program folder under the prefix of this installation.
# Without the current rules "@PROGRAM_FOLDER@" in this file would be read as
# a variable reference.
cmake_policy(VERSION 3.25)

get_filename_component(page_name "${VANTREL_MAN_PAGE}" NAME)
set(target_dir "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${VANTREL_MAN_DIR}")
set(target "${target_dir}/${page_name}.gz")

set(PROGRAM_FOLDER "${CMAKE_INSTALL_PREFIX}/${VANTREL_PROGRAM_FOLDER}")
string(REPLACE "//" "/" PROGRAM_FOLDER "${PROGRAM_FOLDER}")
# Man-page text: a hyphen in a path is written \-.
string(REPLACE "-" "\\-" PROGRAM_FOLDER "${PROGRAM_FOLDER}")
file(READ "${VANTREL_MAN_PAGE}" page)
string(REPLACE "@PROGRAM_FOLDER@" "${PROGRAM_FOLDER}" page "${page}")

file(MAKE_DIRECTORY "${target_dir}")
set(plain "${target_dir}/${page_name}")
file(WRITE "${plain}" "${page}")
# Compressed without a name or a time in the header, so that the same page
# gives the same bytes.
execute_process(COMMAND gzip -9nf "${plain}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot compress ${plain}")
endif()
message(STATUS "Installing: ${target}")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${target}")
