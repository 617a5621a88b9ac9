// A script client of both plug-ins: a message box, a notification and a
// shortcut on the device. A failing call ends the script with an error.
var process = new ActiveXObject("Wendric.QvProcess");
process.MessageBox("Replace the files?", "Vorlan", 4);
process.Notification("<b>Synchronised</b>", "Vorlan", 0, 7);
var shortcut = new ActiveXObject("Quorran.QvShortcut");
shortcut.CreateShortcut("%CE_STARTMENU%\\Scripted.lnk", "\"\\Windows\\sleeper.exe\"");
WScript.Quit(0);
