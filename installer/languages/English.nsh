; The installer's and the uninstaller's own texts in English, the language of
; every Windows whose display language has no file of its own here.
; Every file in this folder defines the same names; lumitrax.nsi inserts them.

LangString WelcomeForUser ${LANG_ENGLISH} "Setup will install ${PRODUCT} ${VERSION} for you alone, in your own user folder: no administrator rights are needed.$\r$\n$\r$\nIf ${PRODUCT} is running, Setup asks it to close first. Your settings are kept.$\r$\n$\r$\n$(^ClickNext)"
LangString WelcomeForEveryone ${LANG_ENGLISH} "Setup will install ${PRODUCT} ${VERSION} for everyone who uses this computer, in Program Files, with a shortcut in the Start menu of all users. Each user's settings stay that user's own.$\r$\n$\r$\nIf ${PRODUCT} is running, Setup asks it to close first.$\r$\n$\r$\n$(^ClickNext)"
LangString StartNow ${LANG_ENGLISH} "Start ${PRODUCT} now"
LangString WindowsTooOld ${LANG_ENGLISH} "${PRODUCT} needs Windows 7 with Service Pack 1 or later, 64-bit. Setup stops here and changes nothing."
LangString EveryoneNeedsAdmin ${LANG_ENGLISH} "Installing ${PRODUCT} for everyone needs administrator rights. Start Setup as administrator, or without /ALLUSERS to install it for you alone. Setup stops here and changes nothing."
LangString OtherRightsDetail ${LANG_ENGLISH} "${PRODUCT} runs with other rights and could not be asked to close."
LangString OtherRightsMessage ${LANG_ENGLISH} "${PRODUCT} is running with other rights (for example as administrator) and could not be asked to close.$\r$\n$\r$\nClose it with Close in the menu of its icon in the notification area, then click Retry. Cancel stops here and changes nothing."
LangString StillRunningDetail ${LANG_ENGLISH} "${PRODUCT} is still running after ${EXIT_WAIT_SECONDS} seconds."
LangString StillRunningMessage ${LANG_ENGLISH} "${PRODUCT} is still running and did not close within ${EXIT_WAIT_SECONDS} seconds.$\r$\n$\r$\nClose it with Close in the menu of its icon in the notification area, then click Retry. Cancel stops here and changes nothing."
LangString StillRunningAbort ${LANG_ENGLISH} "${PRODUCT} is still running: nothing was changed."
LangString UnEveryoneNeedsAdmin ${LANG_ENGLISH} "${PRODUCT} is installed for everyone: removing it needs administrator rights. Nothing was changed."
LangString UnSettingsSection ${LANG_ENGLISH} "Remove my settings"
LangString UnComponentsTop ${LANG_ENGLISH} "Your settings stay in the registry unless you tick $\"$(UnSettingsSection)$\"."
LangString UnProgramDescription ${LANG_ENGLISH} "The program, its Start-menu shortcut, its start at logon and its entry in Add/Remove Programs."
LangString UnSettingsDescription ${LANG_ENGLISH} "Also delete your settings (HKEY_CURRENT_USER\${SETTINGS_KEY})."
