# Install layout (GNUInstallDirs under CMAKE_INSTALL_PREFIX):
#   sbin/dhcp6d, sbin/dhcp6ctl
#   <libdir>/dhcp6d/          the module libraries the programs share
#   <libdir>/dhcp6d/plugins/  the plug-ins ("system.plugins" points here)
#   share/dhcp6d/             definition files, SQL statements and schemas
#   <sysconfdir>/dhcp6d/dhcp6d.conf   example configuration (never replaced)
#   lib/systemd/system/dhcp6d.service
# Programs and libraries find each other through $ORIGIN run paths, and the
# data folder relative to the library folder (nuv::CDataDir), so a tree
# installed with "cmake --install BUILD --prefix DIR" runs from DIR.
set(NUV_INSTALL_LIBDIR "${CMAKE_INSTALL_LIBDIR}/dhcp6d")
set(NUV_INSTALL_PLUGINDIR "${NUV_INSTALL_LIBDIR}/plugins")
set(NUV_INSTALL_DATADIR "${CMAKE_INSTALL_DATADIR}/dhcp6d")

file(RELATIVE_PATH libdir_from_sbin "${CMAKE_INSTALL_FULL_SBINDIR}"
  "${CMAKE_INSTALL_FULL_LIBDIR}/dhcp6d")

# Every shared library target of a folder and the folders below it.
function(nuv_collect_libraries dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  set(found)
  foreach(t IN LISTS targets)
    get_target_property(type ${t} TYPE)
    if(type STREQUAL "SHARED_LIBRARY" OR type STREQUAL "MODULE_LIBRARY")
      list(APPEND found ${t})
    endif()
  endforeach()
  foreach(sub IN LISTS subdirs)
    if(NOT sub MATCHES "/(tests|bench)$")
      nuv_collect_libraries(${sub} more)
      list(APPEND found ${more})
    endif()
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

nuv_collect_libraries(${PROJECT_SOURCE_DIR} libraries)
foreach(lib IN LISTS libraries)
  get_target_property(output ${lib} LIBRARY_OUTPUT_DIRECTORY)
  if(output STREQUAL "${PROJECT_BINARY_DIR}/plugins")
    set_target_properties(${lib} PROPERTIES INSTALL_RPATH "$ORIGIN/..")
    install(TARGETS ${lib} LIBRARY DESTINATION ${NUV_INSTALL_PLUGINDIR})
  else()
    set_target_properties(${lib} PROPERTIES INSTALL_RPATH "$ORIGIN")
    install(TARGETS ${lib} LIBRARY DESTINATION ${NUV_INSTALL_LIBDIR})
  endif()
endforeach()

set_target_properties(dhcp6d dhcp6ctl PROPERTIES INSTALL_RPATH "$ORIGIN/${libdir_from_sbin}")
install(TARGETS dhcp6d dhcp6ctl RUNTIME DESTINATION ${CMAKE_INSTALL_SBINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${NUV_INSTALL_DATADIR})

# The configuration and the unit name installed paths: they are written at
# install time, so that "--prefix" at install time is the prefix they name.
install(CODE "
  set(NUV_SBINDIR_REL \"${CMAKE_INSTALL_SBINDIR}\")
  set(NUV_PLUGINDIR_REL \"${NUV_INSTALL_PLUGINDIR}\")
  set(NUV_TEMPLATES \"${PROJECT_SOURCE_DIR}/etc/install\")
  include(\"${PROJECT_SOURCE_DIR}/cmake/NuvInstallConfig.cmake\")
")
