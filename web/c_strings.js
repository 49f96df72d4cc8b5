// Strings handed from the page's JavaScript to the show's C++, placed before the program's own code.

// A copy of the string `s` in the program's memory: NUL-terminated UTF-8 that the C++ side frees with
// free(). Written here because Emscripten's own helper for this changed its name and stopped being
// included by default between the releases Debian ships (allocateUTF8 in 3.1.6, stringToNewUTF8 in 3.1.69).
function newCString(s) {
  var bytes = new TextEncoder().encode(s);
  var copy = _malloc(bytes.length + 1);
  HEAPU8.set(bytes, copy);
  HEAPU8[copy + bytes.length] = 0;
  return copy;
}
