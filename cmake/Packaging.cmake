# Install rules and the packages made from them: `kartovex`, the program, and
# `kartovex-simulator`, the Google Earth stand-in. `cpack` makes a .deb of each on Debian and
# one ZIP that holds both and Qt's run-time on Windows.
include(GNUInstallDirs)

if(WIN32 AND TARGET GDAL::GDAL)
    set(dlls RUNTIME_DEPENDENCY_SET kartovex_dlls)
endif()
install(TARGETS kartovex ${dlls} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT kartovex)
install(TARGETS earthsim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT kartovex-simulator)

if(WIN32)
    set(KARTOVEX_ICO ${CMAKE_CURRENT_SOURCE_DIR}/packaging/icons/kartovex.ico)
    configure_file(packaging/kartovex.rc.in kartovex.rc @ONLY)
    target_sources(kartovex PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/kartovex.rc)
    install(FILES README.md DESTINATION . COMPONENT kartovex)
    # Qt's libraries and plugins beside the programs, through windeployqt; a Qt before 6.3
    # lacks the deploy script, and docs/windows.md says how to run windeployqt by hand.
    if(COMMAND qt_generate_deploy_app_script)
        foreach(program kartovex earthsim)
            qt_generate_deploy_app_script(TARGET ${program} FILENAME_VARIABLE deploy
                                          NO_UNSUPPORTED_PLATFORM_ERROR)
            install(SCRIPT ${deploy} COMPONENT kartovex)
        endforeach()
    endif()
    # Where GDAL is linked, its DLLs and theirs go beside the program too (Qt's are
    # windeployqt's), and PROJ's data to share/proj, where PROJ looks from ../bin. GDAL's
    # target names its DLL in bin (vcpkg) or its import library in lib (CMake's FindGDAL,
    # as with OSGeo4W): the DLLs are looked for in both.
    if(TARGET GDAL::GDAL)
        install(RUNTIME_DEPENDENCY_SET kartovex_dlls
                PRE_EXCLUDE_REGEXES "^api-ms-" "^ext-ms-" "^Qt6"
                POST_EXCLUDE_REGEXES ".*[Ss]ystem32/.*"
                DIRECTORIES $<TARGET_FILE_DIR:GDAL::GDAL> $<TARGET_FILE_DIR:GDAL::GDAL>/../bin
                COMPONENT kartovex)
        find_file(KARTOVEX_PROJ_DB proj.db PATH_SUFFIXES share/proj REQUIRED)
        install(FILES ${KARTOVEX_PROJ_DB} DESTINATION share/proj COMPONENT kartovex)
    endif()
    set(CPACK_GENERATOR ZIP)
else()
    # Debian wants the change log and the manual pages compressed, and the same bytes from
    # every build.
    set(CPACK_PACKAGE_CONTACT "Kartovex maintainers <maintainers@users.noreply.c-seed-9900d168.example>")
    configure_file(packaging/changelog.in changelog @ONLY)
    foreach(file ${CMAKE_CURRENT_BINARY_DIR}/changelog packaging/kartovex.1 packaging/earthsim.1)
        get_filename_component(name ${file} NAME)
        execute_process(COMMAND gzip -9 -n -c ${file} OUTPUT_FILE ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz
                        WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
    set(man ${CMAKE_INSTALL_MANDIR}/man1)
    foreach(package kartovex kartovex-simulator)
        install(FILES README.md ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz packaging/copyright
                DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${package})
    endforeach()
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/kartovex.1.gz DESTINATION ${man} COMPONENT kartovex)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/earthsim.1.gz DESTINATION ${man}
            COMPONENT kartovex-simulator)
    # Each program has its menu entry and its icon, the simulator's the same picture.
    foreach(program kartovex earthsim)
        set(package kartovex)
        if(program STREQUAL "earthsim")
            set(package kartovex-simulator)
        endif()
        install(FILES packaging/${program}.desktop
                DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications COMPONENT ${package})
        foreach(size 48 64 128 256)
            install(FILES packaging/icons/kartovex-${size}.png
                    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps
                    RENAME ${program}.png COMPONENT ${package})
        endforeach()
    endforeach()
    # Relocations read-only once loaded, as Debian builds its programs.
    foreach(program kartovex earthsim)
        target_link_options(${program} PRIVATE LINKER:-z,relro,-z,now)
    endforeach()
    set(CPACK_GENERATOR DEB)
endif()

set(CPACK_PACKAGE_NAME kartovex)
set(CPACK_PACKAGE_VENDOR "Kartovex")
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL kartovex kartovex-simulator)
# The first line of each is the summary.
set(CPACK_COMPONENT_KARTOVEX_DESCRIPTION [[Georeferencing files for saved Google Earth views
Kartovex reads the position of Google Earth's full-screen view and writes
a MapInfo raster table and a geoset for a picture saved of that view, so
that the picture opens in a GIS as a map in its right place.]])
set(CPACK_COMPONENT_KARTOVEX-SIMULATOR_DESCRIPTION [[Google Earth stand-in for Kartovex
earthsim shows a 3-D globe and answers the Google Earth automation calls
that Kartovex makes, for training and testing on systems without Google
Earth.]])

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_KARTOVEX_PACKAGE_NAME kartovex)
set(CPACK_DEBIAN_KARTOVEX-SIMULATOR_PACKAGE_NAME kartovex-simulator)
set(CPACK_DEBIAN_KARTOVEX_PACKAGE_RECOMMENDS kartovex-simulator)

include(CPack)
