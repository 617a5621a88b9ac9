// A script client creates the property bag by ProgID and uses it through
// IDispatch. Exit code 0 when every check held.
var failures = 0;
function check(what, got, want) {
    if (got !== want) {
        WScript.Echo("FAILED " + what + ": got [" + got + "], want [" + want + "]");
        failures++;
    }
}
var node = new ActiveXObject("Pindrel.InfoNode");
node.SetAt("Name", "Device");
check("GetProperty", node.GetProperty("Name"), "Device");
check("absent key", node.GetProperty("Other"), "");
var versioned = new ActiveXObject("Pindrel.InfoNode.1");
versioned.SetAt("A", "1");
check("versioned ProgID", versioned.GetProperty("A"), "1");
WScript.Echo(failures === 0 ? "1 passed, 0 failed" : "0 passed, 1 failed");
WScript.Quit(failures === 0 ? 0 : 1);
