# The installable Debian package (make package): the program in /usr/bin, its desktop entry,
# its icon in the hicolor theme at every size drawassets stores, the manual page labbench(1)
# in English and Russian, and the package's papers in /usr/share/doc/labbench (the
# machine-readable copyright, changelog.Debian.gz; the user guide goes there too, see
# Guide.cmake) with the lintian overrides beside them. Nothing else has an install rule, so
# tests, benchmarks and tools stay out of the package.
include(GNUInstallDirs)

install(TARGETS labbench RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/assets/labbench.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
file(GLOB LAB_ICONS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/labbench-*.png)
if(NOT LAB_ICONS)
  message(WARNING "No icon in assets/: the package gets none until build/drawassets assets/ draws them")
endif()
foreach(icon IN LISTS LAB_ICONS)
  string(REGEX REPLACE ".*labbench-([0-9]+)\\.png$" "\\1" size "${icon}")
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME labbench.png)
endforeach()

set(LAB_PACKAGE_MAINTAINER "Laboratory bench maintainers <labbench@example.org>"
    CACHE STRING "Maintainer field of the Debian package")
set(LAB_PACKAGE_RELEASE 1)
set(LAB_PACKAGE_VERSION ${PROJECT_VERSION}-${LAB_PACKAGE_RELEASE})

# The papers: the copyright and the changelog name the maintainer and the version of this
# build; the changelog and the manual pages are compressed as Debian wants them (gzip -9,
# no name or time stamp inside, so the bytes are the same on every build).
set(LAB_PAPERS ${CMAKE_BINARY_DIR}/papers)
configure_file(${CMAKE_SOURCE_DIR}/docs/package/copyright ${LAB_PAPERS}/copyright @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/docs/package/changelog.Debian ${LAB_PAPERS}/changelog.Debian
               @ONLY)
set(LAB_GZIPPED "")
foreach(pair "${LAB_PAPERS}/changelog.Debian|changelog.Debian.gz"
             "${CMAKE_SOURCE_DIR}/docs/labbench.1|man/labbench.1.gz"
             "${CMAKE_SOURCE_DIR}/docs/labbench.ru.1|man/ru/labbench.1.gz")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 from)
  list(GET pair 1 to)
  get_filename_component(dir ${LAB_PAPERS}/${to} DIRECTORY)
  add_custom_command(OUTPUT ${LAB_PAPERS}/${to}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
                     COMMAND sh -c "gzip -9n -c '${from}' > '${LAB_PAPERS}/${to}'"
                     DEPENDS ${from}
                     VERBATIM)
  list(APPEND LAB_GZIPPED ${LAB_PAPERS}/${to})
endforeach()
add_custom_target(papers ALL DEPENDS ${LAB_GZIPPED})

install(FILES ${LAB_PAPERS}/man/labbench.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${LAB_PAPERS}/man/ru/labbench.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ru/man1)
install(FILES ${LAB_PAPERS}/copyright ${LAB_PAPERS}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${CMAKE_SOURCE_DIR}/docs/package/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME labbench)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME labbench)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${LAB_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "virtual laboratory bench: random processes in nonlinear circuits")
set(CPACK_PACKAGE_DESCRIPTION
    "A virtual laboratory bench for a university course on random processes.
A signal generator (harmonic signal with a random phase, uniform or Gaussian
noise, or their sum) feeds one of eight memoryless nonlinear circuits; an
oscilloscope, a probability-density meter and a correlometer sit at the
circuit's input and output. The student reads the indicators and opens
oscillograms, histograms with the normal or uniform law overlaid,
correlation-function graphs and the circuit's characteristic. The interface
is in Russian.

Виртуальная лабораторная установка для курса «Случайные процессы»:
генератор сигнала подаётся на одну из восьми безынерционных нелинейных цепей;
на входе и выходе цепи стоят осциллограф, измеритель плотности вероятности и
коррелометр. Студент читает показания индикаторов и строит осциллограммы,
гистограммы с наложенным законом распределения, графики корреляционной
функции и характеристику цепи.")

set(CPACK_DEBIAN_PACKAGE_RELEASE ${LAB_PACKAGE_RELEASE})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the binary (dpkg-shlibdeps); the fonts it draws with and the Russian
# translations of the toolkit's standard buttons are loaded at run time, so they are named.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-dejavu-core, qt6-translations-l10n")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(CPack)
