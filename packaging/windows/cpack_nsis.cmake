# SPDX-License-Identifier: GPL-3.0-or-later
# Read by cpack as it makes the installer: the .sin file type, opening in
# the program, registered at install and removed at uninstall (only while
# it is still ours).
if(CPACK_GENERATOR STREQUAL "NSIS")
  # A 64-bit installer for the 64-bit program, into "Program Files".
  set(CPACK_NSIS_DEFINES "Target amd64-unicode")
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS [=[
  WriteRegStr HKCR ".sin" "" "Z-LM5.ChannelData"
  WriteRegStr HKCR "Z-LM5.ChannelData" "" "Z-LM5 channel data"
  WriteRegStr HKCR "Z-LM5.ChannelData\DefaultIcon" "" "$INSTDIR\channel-data.ico"
  WriteRegStr HKCR "Z-LM5.ChannelData\shell\open\command" "" '"$INSTDIR\z-lm5.exe" "%1"'
]=])
  set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS [=[
  ReadRegStr $0 HKCR ".sin" ""
  StrCmp $0 "Z-LM5.ChannelData" 0 +2
  DeleteRegKey HKCR ".sin"
  DeleteRegKey HKCR "Z-LM5.ChannelData"
]=])
endif()
