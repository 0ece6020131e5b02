#pragma once

#include <QString>

// Every preference key the program reads or writes, in one place. Each key's behaviour
// belongs to the class named beside it.
namespace PreferenceKeys {

// String, an AppSettings::Appearance raw value; "system" when missing. AppSettings.
inline const QString appearance = QStringLiteral("appearance");
// Bool; true when missing. AppSettings.
inline const QString autoPopup = QStringLiteral("autoPopup");
// Left by earlier versions; removed at every start. AppSettings.
inline const QString model = QStringLiteral("model");
// Bool; true when missing. The "save history" switch of the history store.
inline const QString saveHistory = QStringLiteral("saveHistory");
// Bytes, the JSON array of the user's writing modes; no modes when missing. WritingModeStore.
inline const QString writingModes = QStringLiteral("writingModes");
// String, the e-mail of the signed-in account. The account manager.
inline const QString accountEmail = QStringLiteral("accountEmail");
// String, the state value of a sign-in in progress. The account manager.
inline const QString pendingSignInState = QStringLiteral("pendingSignInState");
// String, an override of the account service base address. The account manager.
inline const QString serverURL = QStringLiteral("serverURL");
// Bool; false when missing. Whether the user chose to have the desktop's accessibility support
// turned on at every start. AccessibilityPermission.
inline const QString switchAccessibilityOn = QStringLiteral("switchAccessibilityOn");
// String, the last size of the result panel. The result panel.
inline const QString resultPanelSize = QStringLiteral("resultPanelSize");

} // namespace PreferenceKeys
