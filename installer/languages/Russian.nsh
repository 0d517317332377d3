; The installer's and the uninstaller's own texts in Russian. The numbers of
; seconds are declined for EXIT_WAIT_SECONDS = 15 ("секунд").

LangString WelcomeForUser ${LANG_RUSSIAN} "Программа установки установит ${PRODUCT} ${VERSION} только для вас, в вашу собственную папку пользователя: права администратора не требуются.$\r$\n$\r$\nЕсли ${PRODUCT} запущен, программа установки сначала попросит его закрыться. Ваши параметры сохранятся.$\r$\n$\r$\n$(^ClickNext)"
LangString WelcomeForEveryone ${LANG_RUSSIAN} "Программа установки установит ${PRODUCT} ${VERSION} для всех пользователей этого компьютера, в папку Program Files, с ярлыком в меню «Пуск» всех пользователей. Параметры каждого пользователя остаются его собственными.$\r$\n$\r$\nЕсли ${PRODUCT} запущен, программа установки сначала попросит его закрыться.$\r$\n$\r$\n$(^ClickNext)"
LangString StartNow ${LANG_RUSSIAN} "Запустить ${PRODUCT} сейчас"
LangString WindowsTooOld ${LANG_RUSSIAN} "Для ${PRODUCT} требуется 64-разрядная Windows 7 с пакетом обновления 1 (SP1) или более поздняя версия. Установка прекращена, ничего не изменено."
LangString EveryoneNeedsAdmin ${LANG_RUSSIAN} "Для установки ${PRODUCT} для всех пользователей требуются права администратора. Запустите программу установки от имени администратора или без ключа /ALLUSERS, чтобы установить программу только для себя. Установка прекращена, ничего не изменено."
LangString OtherRightsDetail ${LANG_RUSSIAN} "${PRODUCT} запущен с другими правами, и его не удалось попросить закрыться."
LangString OtherRightsMessage ${LANG_RUSSIAN} "${PRODUCT} запущен с другими правами (например, от имени администратора), и его не удалось попросить закрыться.$\r$\n$\r$\nЗакройте его командой «Закрыть» в меню его значка в области уведомлений, затем нажмите «Повторить». Кнопка «Отмена» прекращает работу, ничего не изменяя."
LangString StillRunningDetail ${LANG_RUSSIAN} "${PRODUCT} всё ещё работает через ${EXIT_WAIT_SECONDS} секунд."
LangString StillRunningMessage ${LANG_RUSSIAN} "${PRODUCT} всё ещё работает и не закрылся в течение ${EXIT_WAIT_SECONDS} секунд.$\r$\n$\r$\nЗакройте его командой «Закрыть» в меню его значка в области уведомлений, затем нажмите «Повторить». Кнопка «Отмена» прекращает работу, ничего не изменяя."
LangString StillRunningAbort ${LANG_RUSSIAN} "${PRODUCT} всё ещё работает: ничего не изменено."
LangString UnEveryoneNeedsAdmin ${LANG_RUSSIAN} "${PRODUCT} установлен для всех пользователей: для его удаления требуются права администратора. Ничего не изменено."
LangString UnSettingsSection ${LANG_RUSSIAN} "Удалить мои параметры"
LangString UnComponentsTop ${LANG_RUSSIAN} "Ваши параметры останутся в реестре, если не отметить «$(UnSettingsSection)»."
LangString UnProgramDescription ${LANG_RUSSIAN} "Программа, её ярлык в меню «Пуск», её запуск при входе в систему и её запись в окне «Программы и компоненты»."
LangString UnSettingsDescription ${LANG_RUSSIAN} "Также удалить ваши параметры (HKEY_CURRENT_USER\${SETTINGS_KEY})."
