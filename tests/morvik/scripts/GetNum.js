// Prints what GetSerial.GetNum answers for the module named on the command
// line.  Exit code 0 when the call went through, 2 when it raised an error
// (the script host would otherwise end silently with 0).
var serial;
try {
    var obj = new ActiveXObject("Morvik.GetSerial");
    serial = obj.GetNum(WScript.Arguments(0));
} catch (e) {
    WScript.Echo("GetNum failed: " + (e.number >>> 0).toString(16));
    WScript.Quit(2);
}
WScript.Echo("[" + serial + "]");
WScript.Quit(0);
