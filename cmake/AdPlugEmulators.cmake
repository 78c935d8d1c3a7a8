# The OPL emulators of AdPlug (LGPL-2.1) for Windows, compiled from Debian's own source
# package as they are, into a DLL beside the program: a user may replace it with their own.
set(adplug ${BRIVANE_ADPLUG_SOURCE}/src)
add_library(brivane_adplug SHARED
    ${adplug}/nukedopl.c ${adplug}/fmopl.c ${adplug}/nemuopl.cpp ${adplug}/woodyopl.cpp ${adplug}/emuopl.cpp)
set_target_properties(brivane_adplug PROPERTIES OUTPUT_NAME adplug-emulators PREFIX "")
target_compile_options(brivane_adplug PRIVATE -w)
# AdPlug's classes carry no export markings; the runtimes linked in stay private to the DLL.
target_link_options(brivane_adplug PRIVATE -Wl,--export-all-symbols -Wl,--exclude-libs,ALL)

# The program includes them as <adplug/...>, as from Debian's libadplug-dev.
set(headers ${CMAKE_BINARY_DIR}/adplug-include/adplug)
file(MAKE_DIRECTORY ${headers})
foreach(header opl.h emuopl.h fmopl.h nemuopl.h nukedopl.h woodyopl.h wemuopl.h)
  configure_file(${adplug}/${header} ${headers}/${header} COPYONLY)
endforeach()
target_include_directories(brivane_adplug SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/adplug-include)
