# Run by `cmake --install` (and cpack): writes the agent's D-Bus service file and autostart entry
# with the binary's full path under the prefix being installed to. The autostart entry goes to
# /etc/xdg/autostart when the prefix is /usr, where a session looks for it.
set(ORBELO_NOTIFIER_BINARY "${CMAKE_INSTALL_PREFIX}/${NOTIFIER_BINDIR}/orbelo-notifier")
set(autostart "${CMAKE_INSTALL_PREFIX}/${NOTIFIER_SYSCONFDIR}/xdg/autostart")
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    set(autostart "/etc/xdg/autostart")
endif()

function(install_configured template directory)
    get_filename_component(name "${template}" NAME_WLE)
    set(destination "$ENV{DESTDIR}${directory}/${name}")
    message(STATUS "Installing: ${destination}")
    configure_file("${NOTIFIER_TEMPLATES}/${template}" "${destination}" @ONLY)
endfunction()

install_configured(com.orbelo.desktop.Notifier.service.in "${CMAKE_INSTALL_PREFIX}/${NOTIFIER_DATADIR}/dbus-1/services")
install_configured(orbelo-notifier.desktop.in "${autostart}")
