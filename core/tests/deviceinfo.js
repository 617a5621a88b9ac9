// A script client reads the device's facts late-bound:
// cscript deviceinfo.js <output file>. Writes the device's name and storage
// size, one a line; exit code 0 when every call answered.
try {
    var info = new ActiveXObject("Corvath.DeviceInfo");
    info.Init();
    var out = new ActiveXObject("Scripting.FileSystemObject").CreateTextFile(WScript.Arguments(0), true);
    out.WriteLine(info.DeviceName);
    out.WriteLine(info.StorageSize);
    out.Close();
} catch (e) {
    WScript.Echo("FAILED " + e.description + " (" + e.number + ")");
    WScript.Quit(1);
}
WScript.Quit(0);
