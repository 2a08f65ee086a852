# Build-time configuration of the app, read at run time through AppInfo (Platform/AppInfo.h).
# The defaults point at the local server (LocalServer/README.md).
set(ORBELO_APP_ID "com.orbelo.desktop" CACHE STRING "Application id (secret store service, URL scheme, D-Bus name)")
set(ORBELO_API_BASE_URL "https://127.0.0.1:8443" CACHE STRING "The backend base URL")
# "pk_test_" + Base64URL("127.0.0.1:8443$")
set(ORBELO_CLERK_PUBLISHABLE_KEY "pk_test_MTI3LjAuMC4xOjg0NDMk" CACHE STRING "The auth service's publishable key")
set(ORBELO_APPCAST_URL "https://127.0.0.1:8443/appcast.json" CACHE STRING "Where the desktop build looks for newer builds")
set(ORBELO_VERSION "${PROJECT_VERSION}" CACHE STRING "The release the user sees")
set(ORBELO_BUILD_NUMBER "1" CACHE STRING "The build's number, compared with the appcast's")

configure_file(${CMAKE_CURRENT_LIST_DIR}/AppInfoValues.h.in ${CMAKE_BINARY_DIR}/generated/AppInfoValues.h @ONLY)
