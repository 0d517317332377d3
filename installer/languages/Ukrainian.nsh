; The installer's and the uninstaller's own texts in Ukrainian. The numbers of
; seconds are declined for EXIT_WAIT_SECONDS = 15 ("секунд").

LangString WelcomeForUser ${LANG_UKRAINIAN} "Програма встановлення встановить ${PRODUCT} ${VERSION} лише для вас, у вашу власну папку користувача: права адміністратора не потрібні.$\r$\n$\r$\nЯкщо ${PRODUCT} запущено, програма встановлення спершу попросить його закритися. Ваші параметри буде збережено.$\r$\n$\r$\n$(^ClickNext)"
LangString WelcomeForEveryone ${LANG_UKRAINIAN} "Програма встановлення встановить ${PRODUCT} ${VERSION} для всіх користувачів цього комп'ютера, у папку Program Files, з ярликом у меню «Пуск» усіх користувачів. Параметри кожного користувача залишаються його власними.$\r$\n$\r$\nЯкщо ${PRODUCT} запущено, програма встановлення спершу попросить його закритися.$\r$\n$\r$\n$(^ClickNext)"
LangString StartNow ${LANG_UKRAINIAN} "Запустити ${PRODUCT} зараз"
LangString WindowsTooOld ${LANG_UKRAINIAN} "Для ${PRODUCT} потрібна 64-розрядна Windows 7 із пакетом оновлень 1 (SP1) або новіша версія. Встановлення зупинено, нічого не змінено."
LangString EveryoneNeedsAdmin ${LANG_UKRAINIAN} "Для встановлення ${PRODUCT} для всіх користувачів потрібні права адміністратора. Запустіть програму встановлення від імені адміністратора або без ключа /ALLUSERS, щоб установити програму лише для себе. Встановлення зупинено, нічого не змінено."
LangString OtherRightsDetail ${LANG_UKRAINIAN} "${PRODUCT} запущено з іншими правами, і його не вдалося попросити закритися."
LangString OtherRightsMessage ${LANG_UKRAINIAN} "${PRODUCT} запущено з іншими правами (наприклад, від імені адміністратора), і його не вдалося попросити закритися.$\r$\n$\r$\nЗакрийте його командою «Закрити» в меню його значка в області сповіщень, а потім натисніть «Повторити». Кнопка «Скасувати» зупиняє роботу, нічого не змінюючи."
LangString StillRunningDetail ${LANG_UKRAINIAN} "${PRODUCT} усе ще працює через ${EXIT_WAIT_SECONDS} секунд."
LangString StillRunningMessage ${LANG_UKRAINIAN} "${PRODUCT} усе ще працює і не закрився протягом ${EXIT_WAIT_SECONDS} секунд.$\r$\n$\r$\nЗакрийте його командою «Закрити» в меню його значка в області сповіщень, а потім натисніть «Повторити». Кнопка «Скасувати» зупиняє роботу, нічого не змінюючи."
LangString StillRunningAbort ${LANG_UKRAINIAN} "${PRODUCT} усе ще працює: нічого не змінено."
LangString UnEveryoneNeedsAdmin ${LANG_UKRAINIAN} "${PRODUCT} встановлено для всіх користувачів: для його видалення потрібні права адміністратора. Нічого не змінено."
LangString UnSettingsSection ${LANG_UKRAINIAN} "Видалити мої параметри"
LangString UnComponentsTop ${LANG_UKRAINIAN} "Ваші параметри залишаться в реєстрі, якщо не позначити «$(UnSettingsSection)»."
LangString UnProgramDescription ${LANG_UKRAINIAN} "Програма, її ярлик у меню «Пуск», її запуск під час входу в систему та її запис у вікні «Програми та засоби»."
LangString UnSettingsDescription ${LANG_UKRAINIAN} "Також видалити ваші параметри (HKEY_CURRENT_USER\${SETTINGS_KEY})."
