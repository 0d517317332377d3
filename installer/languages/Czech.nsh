; The installer's and the uninstaller's own texts in Czech. The numbers of
; seconds are declined for EXIT_WAIT_SECONDS = 15 ("sekund", "sekundách").

LangString WelcomeForUser ${LANG_CZECH} "Instalační program nainstaluje aplikaci ${PRODUCT} ${VERSION} jen pro vás, do vaší vlastní složky uživatele: oprávnění správce nejsou potřeba.$\r$\n$\r$\nPokud je aplikace ${PRODUCT} spuštěná, instalační program ji nejprve požádá o ukončení. Vaše nastavení zůstanou zachována.$\r$\n$\r$\n$(^ClickNext)"
LangString WelcomeForEveryone ${LANG_CZECH} "Instalační program nainstaluje aplikaci ${PRODUCT} ${VERSION} pro všechny uživatele tohoto počítače, do složky Program Files, se zástupcem v nabídce Start všech uživatelů. Nastavení každého uživatele zůstanou jen jeho.$\r$\n$\r$\nPokud je aplikace ${PRODUCT} spuštěná, instalační program ji nejprve požádá o ukončení.$\r$\n$\r$\n$(^ClickNext)"
LangString StartNow ${LANG_CZECH} "Spustit aplikaci ${PRODUCT} nyní"
LangString WindowsTooOld ${LANG_CZECH} "Aplikace ${PRODUCT} vyžaduje 64bitový systém Windows 7 s aktualizací Service Pack 1 nebo novější. Instalace zde končí a nic se nezmění."
LangString EveryoneNeedsAdmin ${LANG_CZECH} "Instalace aplikace ${PRODUCT} pro všechny uživatele vyžaduje oprávnění správce. Spusťte instalační program jako správce, nebo bez přepínače /ALLUSERS, chcete-li ji nainstalovat jen pro sebe. Instalace zde končí a nic se nezmění."
LangString OtherRightsDetail ${LANG_CZECH} "Aplikace ${PRODUCT} běží s jinými oprávněními a nebylo možné ji požádat o ukončení."
LangString OtherRightsMessage ${LANG_CZECH} "Aplikace ${PRODUCT} běží s jinými oprávněními (například jako správce) a nebylo možné ji požádat o ukončení.$\r$\n$\r$\nUkončete ji příkazem „Zavřít“ v nabídce její ikony v oznamovací oblasti a potom klikněte na Opakovat. Tlačítko Storno zde vše ukončí a nic se nezmění."
LangString StillRunningDetail ${LANG_CZECH} "Aplikace ${PRODUCT} stále běží i po ${EXIT_WAIT_SECONDS} sekundách."
LangString StillRunningMessage ${LANG_CZECH} "Aplikace ${PRODUCT} stále běží a neukončila se do ${EXIT_WAIT_SECONDS} sekund.$\r$\n$\r$\nUkončete ji příkazem „Zavřít“ v nabídce její ikony v oznamovací oblasti a potom klikněte na Opakovat. Tlačítko Storno zde vše ukončí a nic se nezmění."
LangString StillRunningAbort ${LANG_CZECH} "Aplikace ${PRODUCT} stále běží: nic se nezměnilo."
LangString UnEveryoneNeedsAdmin ${LANG_CZECH} "Aplikace ${PRODUCT} je nainstalovaná pro všechny uživatele: její odebrání vyžaduje oprávnění správce. Nic se nezměnilo."
LangString UnSettingsSection ${LANG_CZECH} "Odebrat moje nastavení"
LangString UnComponentsTop ${LANG_CZECH} "Vaše nastavení zůstanou v registru, pokud nezaškrtnete „$(UnSettingsSection)“."
LangString UnProgramDescription ${LANG_CZECH} "Aplikace, její zástupce v nabídce Start, její spouštění při přihlášení a její položka v okně Programy a funkce."
LangString UnSettingsDescription ${LANG_CZECH} "Odstranit také vaše nastavení (HKEY_CURRENT_USER\${SETTINGS_KEY})."
