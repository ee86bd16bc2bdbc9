# Run by "cmake --install": writes the example configuration (unless one
# is there: it is the operator's) and the systemd unit with the paths of
# this install's prefix. Given NUV_SBINDIR_REL, NUV_PLUGINDIR_REL and
# NUV_TEMPLATES by the install rule.
set(prefix "${CMAKE_INSTALL_PREFIX}")
# As GNUInstallDirs has it: the prefix /usr keeps its configuration in /etc.
if(prefix STREQUAL "/usr")
  set(sysconfdir "/etc")
else()
  set(sysconfdir "${prefix}/etc")
endif()
set(NUV_SBINDIR "${prefix}/${NUV_SBINDIR_REL}")
set(NUV_PLUGINDIR "${prefix}/${NUV_PLUGINDIR_REL}")
set(NUV_CONFIG "${sysconfdir}/dhcp6d/dhcp6d.conf")

set(config "$ENV{DESTDIR}${NUV_CONFIG}")
if(EXISTS "${config}")
  message(STATUS "Keeping: ${config}")
else()
  message(STATUS "Installing: ${config}")
  configure_file("${NUV_TEMPLATES}/dhcp6d.conf.in" "${config}" @ONLY)
endif()
set(unit "$ENV{DESTDIR}${prefix}/lib/systemd/system/dhcp6d.service")
message(STATUS "Installing: ${unit}")
configure_file("${NUV_TEMPLATES}/dhcp6d.service.in" "${unit}" @ONLY)
