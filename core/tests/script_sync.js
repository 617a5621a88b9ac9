// A script client runs one synchronisation through the core's entry object:
// cscript script_sync.js <project>. Exit code 0 when Init and Sync answered.
var main = new ActiveXObject("Corvath.VorlanMain");
try {
    main.Init();
    main.Sync(WScript.Arguments(0));
} catch (e) {
    WScript.Echo("FAILED " + e.description + " (" + e.number + ")");
    WScript.Quit(1);
}
WScript.Quit(0);
