; The installer's and the uninstaller's own texts in Polish. The numbers of
; seconds are declined for EXIT_WAIT_SECONDS = 15 ("sekund", "sekundach").

LangString WelcomeForUser ${LANG_POLISH} "Instalator zainstaluje program ${PRODUCT} ${VERSION} tylko dla Ciebie, w Twoim własnym folderze użytkownika: uprawnienia administratora nie są potrzebne.$\r$\n$\r$\nJeśli program ${PRODUCT} jest uruchomiony, Instalator najpierw poprosi go o zamknięcie. Twoje ustawienia zostaną zachowane.$\r$\n$\r$\n$(^ClickNext)"
LangString WelcomeForEveryone ${LANG_POLISH} "Instalator zainstaluje program ${PRODUCT} ${VERSION} dla wszystkich użytkowników tego komputera, w folderze Program Files, ze skrótem w menu Start wszystkich użytkowników. Ustawienia każdego użytkownika pozostają jego własne.$\r$\n$\r$\nJeśli program ${PRODUCT} jest uruchomiony, Instalator najpierw poprosi go o zamknięcie.$\r$\n$\r$\n$(^ClickNext)"
LangString StartNow ${LANG_POLISH} "Uruchom teraz program ${PRODUCT}"
LangString WindowsTooOld ${LANG_POLISH} "Program ${PRODUCT} wymaga 64-bitowego systemu Windows 7 z dodatkiem Service Pack 1 lub nowszego. Instalator kończy pracę bez wprowadzania zmian."
LangString EveryoneNeedsAdmin ${LANG_POLISH} "Zainstalowanie programu ${PRODUCT} dla wszystkich użytkowników wymaga uprawnień administratora. Uruchom Instalatora jako administrator albo bez przełącznika /ALLUSERS, aby zainstalować program tylko dla siebie. Instalator kończy pracę bez wprowadzania zmian."
LangString OtherRightsDetail ${LANG_POLISH} "Program ${PRODUCT} działa z innymi uprawnieniami i nie można było poprosić go o zamknięcie."
LangString OtherRightsMessage ${LANG_POLISH} "Program ${PRODUCT} działa z innymi uprawnieniami (na przykład jako administrator) i nie można było poprosić go o zamknięcie.$\r$\n$\r$\nZamknij go poleceniem „Zamknij” w menu jego ikony w obszarze powiadomień, a następnie kliknij przycisk Ponów próbę. Przycisk Anuluj kończy pracę bez wprowadzania zmian."
LangString StillRunningDetail ${LANG_POLISH} "Program ${PRODUCT} nadal działa po ${EXIT_WAIT_SECONDS} sekundach."
LangString StillRunningMessage ${LANG_POLISH} "Program ${PRODUCT} nadal działa i nie zamknął się w ciągu ${EXIT_WAIT_SECONDS} sekund.$\r$\n$\r$\nZamknij go poleceniem „Zamknij” w menu jego ikony w obszarze powiadomień, a następnie kliknij przycisk Ponów próbę. Przycisk Anuluj kończy pracę bez wprowadzania zmian."
LangString StillRunningAbort ${LANG_POLISH} "Program ${PRODUCT} nadal działa: niczego nie zmieniono."
LangString UnEveryoneNeedsAdmin ${LANG_POLISH} "Program ${PRODUCT} jest zainstalowany dla wszystkich użytkowników: jego usunięcie wymaga uprawnień administratora. Niczego nie zmieniono."
LangString UnSettingsSection ${LANG_POLISH} "Usuń moje ustawienia"
LangString UnComponentsTop ${LANG_POLISH} "Twoje ustawienia pozostaną w rejestrze, chyba że zaznaczysz „$(UnSettingsSection)”."
LangString UnProgramDescription ${LANG_POLISH} "Program, jego skrót w menu Start, jego uruchamianie przy logowaniu i jego wpis w oknie Programy i funkcje."
LangString UnSettingsDescription ${LANG_POLISH} "Usuń także swoje ustawienia (HKEY_CURRENT_USER\${SETTINGS_KEY})."
