# The release players download: dist/ZerakCalc-<version>-win64.zip, holding the folder
# ZerakCalc-<version>/ with the program, its help and the player's guide, and SHA256SUMS.
# Built by scripts/release.sh; names and texts follow from project(... VERSION).
set(ZERAK_DIST_DIR ${CMAKE_SOURCE_DIR}/dist CACHE PATH "Where the release's zip and SHA256SUMS are written")

set(ZERAK_RELEASE_FOLDER ZerakCalc-${PROJECT_VERSION})
set(ZERAK_RELEASE_ZIP ${ZERAK_DIST_DIR}/${ZERAK_RELEASE_FOLDER}-win64.zip)
set(ZERAK_RELEASE_SUMS ${ZERAK_DIST_DIR}/SHA256SUMS)

# Windows line endings, so that Notepad on any Windows shows the guide's lines.
set(ZERAK_RELEASE_README ${CMAKE_BINARY_DIR}/release/README.txt)
configure_file(${CMAKE_SOURCE_DIR}/docs/release/README.txt.in ${ZERAK_RELEASE_README} @ONLY NEWLINE_STYLE CRLF)

set(ZERAK_RELEASE_FILES
    $<TARGET_FILE:ZerakCalc>
    ${CMAKE_BINARY_DIR}/ui/help.hlp
    ${CMAKE_BINARY_DIR}/ui/help.htm
    ${ZERAK_RELEASE_README}
)
# Packed on every build of the target: it is quick, and the entries' date is the commit's,
# which can change while every file stays the same.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
add_custom_target(release
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/scripts/make-release.py
            --folder ${ZERAK_RELEASE_FOLDER} --zip ${ZERAK_RELEASE_ZIP} --sums ${ZERAK_RELEASE_SUMS}
            --source ${CMAKE_SOURCE_DIR} ${ZERAK_RELEASE_FILES}
    BYPRODUCTS ${ZERAK_RELEASE_ZIP} ${ZERAK_RELEASE_SUMS}
    COMMENT "Packing ${ZERAK_RELEASE_FOLDER}-win64.zip and SHA256SUMS into ${ZERAK_DIST_DIR}"
    VERBATIM
)
add_dependencies(release ZerakCalc zerak_help)
