#pragma once

class QApplication;

// French for Qt's own texts (standard buttons, file and print dialogs, context menus) and the
// French locale as the application's default, so numbers read and written by Qt widgets use a
// decimal comma. The translator is owned by `app`. Returns whether Qt's French catalogue was
// found; without it Qt's texts stay English and the editor's own texts are unaffected.
bool installFrenchTranslations(QApplication &app);
