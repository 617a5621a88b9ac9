// A script client copies a desktop file to the device and a device file
// back with the file copy object, as the conflict manager does.
// Arguments: desktop file, device file, desktop file to write.
// Exit code 0 when both calls succeeded.
var args = WScript.Arguments;
try {
    var copy = new ActiveXObject("Feldane.QvFileCopy");
    copy.CeFileCopy(args(0), args(1), "", "");
    copy.CeFileCopy(args(1), args(2), "QV_CREATE_FILE_FROM_CE", "");
    var versioned = new ActiveXObject("Feldane.QvFileCopy.1");
    versioned.CeFileCopy(args(0), args(1), "QV_CREATE_FILE", "");
    WScript.Echo("copied");
    WScript.Quit(0);
} catch (e) {
    WScript.Echo("FAILED " + e.number + " " + e.description);
    WScript.Quit(1);
}
