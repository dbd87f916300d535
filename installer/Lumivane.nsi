; The suite's installer. It installs per user without administrator rights, by default into
; the user's own programs folder, in the layout the programs expect:
;   update.exe, package.exe, Template\ (the updater downloads into it)
;   plug_in\Zipdex\zipdex.exe with its database Tillwick.dat
; Silent use: Lumivane-<version>-setup.exe /S [/D=folder]  and  uninstall.exe /S [/REMOVESETTINGS]
; The build passes SUITE_NSH, SETUP_EXE, SETUP_NAME, SUITE_ICON and SUITE_DIR, the shipped
; files as they are installed; SIGN_COMMAND, when given, signs the installer and the
; uninstaller it writes.
Unicode true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include "${SUITE_NSH}"
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumivane"
!define MENU_FOLDER "$SMPROGRAMS\${SUITE_PRODUCT}"
!define ZIPDEX_DIR "$INSTDIR\plug_in\Zipdex"
!define EMULATION_KEY "Software\Microsoft\Internet Explorer\Main\FeatureControl\FEATURE_BROWSER_EMULATION"
; Where package.exe records the name it listed under EMULATION_KEY.
!define EMULATION_RECORD_KEY "Software\Lumivane Software\ruzuviva\Browser Emulation"

Name "${SUITE_PRODUCT} ${SUITE_VERSION}"
OutFile "${SETUP_EXE}"
!ifdef SIGN_COMMAND
  !finalize '${SIGN_COMMAND} "%1"'
  !uninstfinalize '${SIGN_COMMAND} "%1"'
!endif
InstallDir "$LOCALAPPDATA\Programs\Lumivane"
; An upgrade goes where the suite already is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${SUITE_COMPANY}"

!define MUI_ICON "${SUITE_ICON}"
!define MUI_UNICON "${SUITE_ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "${ZIPDEX_DIR}\zipdex.exe"
!define MUI_FINISHPAGE_RUN_TEXT "运行${ZIPDEX_TITLE}"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"

VIProductVersion "${SUITE_VERSION}"
VIFileVersion "${SUITE_VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "CompanyName" "${SUITE_COMPANY}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileDescription" "${SUITE_PRODUCT} 安装程序"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileVersion" "${SUITE_VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "InternalName" "setup"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "LegalCopyright" "${SUITE_COPYRIGHT}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "OriginalFilename" "${SETUP_NAME}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductName" "${SUITE_PRODUCT}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductVersion" "${SUITE_VERSION}"

; The suite's files in folder DIR and what the programs put there themselves (package's
; configs.xml, the updater's downloads and the serial it accepted last); anything else of the
; user's stays.
!macro RemoveSuiteFiles DIR
  Delete "${DIR}\plug_in\Zipdex\zipdex.exe"
  Delete "${DIR}\plug_in\Zipdex\Tillwick.dat"
  RMDir "${DIR}\plug_in\Zipdex"
  RMDir "${DIR}\plug_in"
  Delete "${DIR}\update.exe"
  Delete "${DIR}\package.exe"
  Delete "${DIR}\configs.xml"
  Delete "${DIR}\update.serial"
  Delete "${DIR}\update.serial.new"
  RMDir /r "${DIR}\Template"
  Delete "${DIR}\uninstall.exe"
  RMDir "${DIR}"
!macroend

; An upgrade into another folder first removes the copy in the old one (settings stay), so
; the suite is never installed twice.
Function RemoveCopyElsewhere
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} $0 != $INSTDIR
    !insertmacro RemoveSuiteFiles $0
  ${EndIf}
FunctionEnd

Section "-Suite"
  Call RemoveCopyElsewhere

  SetOutPath "$INSTDIR"
  File "${SUITE_DIR}/update.exe"
  File "${SUITE_DIR}/package.exe"
  CreateDirectory "$INSTDIR\Template"
  SetOutPath "${ZIPDEX_DIR}"
  File "${SUITE_DIR}/plug_in/Zipdex/zipdex.exe"
  File "${SUITE_DIR}/plug_in/Zipdex/Tillwick.dat"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; Each shortcut starts its program in the program's own folder.
  CreateDirectory "${MENU_FOLDER}"
  CreateShortcut "${MENU_FOLDER}\${ZIPDEX_TITLE}.lnk" "${ZIPDEX_DIR}\zipdex.exe" "" \
                 "${ZIPDEX_DIR}\zipdex.exe" 0
  SetOutPath "$INSTDIR"
  CreateShortcut "${MENU_FOLDER}\${PACKAGE_TITLE}.lnk" "$INSTDIR\package.exe" "" \
                 "$INSTDIR\package.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${SUITE_PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${SUITE_VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${SUITE_COMPANY}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "${ZIPDEX_DIR}\zipdex.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "http://${VENDOR_HOST}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "HelpLink" "mailto:${VENDOR_EMAIL}"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "un.${SUITE_PRODUCT}"
  SectionIn RO
  !insertmacro RemoveSuiteFiles $INSTDIR
  Delete "${MENU_FOLDER}\${ZIPDEX_TITLE}.lnk"
  Delete "${MENU_FOLDER}\${PACKAGE_TITLE}.lnk"
  RMDir "${MENU_FOLDER}"
SectionEnd

; package.exe lists itself for the browser's current document mode; that value goes, unless
; the user has changed it since. A value the program found already there was never recorded.
Section "-un.BrowserEmulation"
  ReadRegStr $0 HKCU "${EMULATION_RECORD_KEY}" "Program"
  ${If} $0 != ""
    ClearErrors
    ReadRegDWORD $1 HKCU "${EMULATION_KEY}" $0
    ${IfNot} ${Errors}
    ${AndIf} $1 = 11001
      DeleteRegValue HKCU "${EMULATION_KEY}" $0
    ${EndIf}
  ${EndIf}
  DeleteRegKey HKCU "${EMULATION_RECORD_KEY}"
SectionEnd

; Chosen on the uninstaller's components page, or with /REMOVESETTINGS when silent.
Section /o "un.删除个人设置（列宽、快递公司）" SecRemoveSettings
  RMDir /r "$APPDATA\Lumivane"
  DeleteRegKey HKCU "Software\Lumivane Software"
SectionEnd

; Last, so that the suite stays listed while anything of it is left.
Section "-un.Entry"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecRemoveSettings} ${SF_SELECTED}
  ${EndIf}
FunctionEnd
