// A script client shows the core's options: cscript options.js. Exit code
// 0 when ConfigurationDlgBox answered S_OK.
try {
    new ActiveXObject("Corvath.VorlanMain").ConfigurationDlgBox();
} catch (e) {
    WScript.Echo("FAILED " + e.description + " (" + e.number + ")");
    WScript.Quit(1);
}
WScript.Quit(0);
