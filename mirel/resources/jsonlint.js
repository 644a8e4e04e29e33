// A small JSON checker for the lint message: jsonlint.parse(text) returns nothing for a text
// that holds one JSON value, and otherwise throws an Error whose message gives the line and
// column of the first problem, that line with a caret under the place, what was expected there
// and what was found.
//
// It accepts what the application's own JSON reader accepts: U+0000 counts as whitespace, raw
// control characters may stand in strings and an array may end with one comma. It rejects what
// that reader rejects beyond JSON: the escapes \b and \f, and nesting deeper than 512 arrays and
// objects.
//
// It runs without recursion, in time linear in the text, so no input can exhaust the stack or
// hang it. Strings are searched with indexOf and numbers and whitespace matched with simple
// regular expressions, which run natively; the reader steps from token to token, in batches.
var jsonlint = (function () {
  "use strict";

  var MAX_DEPTH = 512;
  var EXCERPT_BEFORE = 40;
  var EXCERPT_AFTER = 30;

  var VALUE = "a value (an object, array, string, number, true, false or null)";
  var ESCAPE = "an escape (\\\", \\\\, \\/, \\n, \\r, \\t or \\u and four hexadecimal digits)";

  // What the reader expects next.
  var VALUE_NEXT = 0;        // a value
  var ELEMENT_NEXT = 1;      // a value or "]" (after "[" or a comma in an array)
  var MEMBER_FIRST = 2;      // a member name or "}" (after "{")
  var MEMBER_NEXT = 3;       // a member name (after a comma in an object)
  var AFTER_VALUE = 4;       // a comma, the container's end, or the end of the text

  // Neither pattern repeats a group: such patterns are matched reliably and compiled.
  var WHITESPACE = /[ \t\n\r\u0000]*/y;
  var NUMBER_AT = /-?(?:0|[1-9][0-9]*)(?:\.[0-9]+)?(?:[eE][+-]?[0-9]+)?/y;

  var text = "";
  var pos = 0;
  var state = VALUE_NEXT;
  var stack = [];  // 0x7b or 0x5b for each open object or array, innermost last
  var nextBackslash = -1;

  function isHexDigit(c) {
    return (c >= 0x30 && c <= 0x39) || (c >= 0x41 && c <= 0x46) || (c >= 0x61 && c <= 0x66);
  }

  function hex(c) {
    var digits = c.toString(16).toUpperCase();
    while (digits.length < 4) digits = "0" + digits;
    return "U+" + digits;
  }

  // What stands at `at`, as the message names it.
  function describe(at) {
    if (at >= text.length) return "the end of the input";
    var c = text.charCodeAt(at);
    if (c === 0x0a || c === 0x0d) return "a line break";
    if (c === 0x09) return "a tab";
    if (c < 0x20 || c === 0x7f || (c >= 0xd800 && c <= 0xdfff)) return "the character " + hex(c);
    if (c === 0x27) return "\"'\"";
    // A word is shown whole, so that "tru" or "nul" reads as what was typed.
    var word = /[A-Za-z0-9_.+\-]{1,20}/y;
    word.lastIndex = at;
    var match = word.exec(text);
    return "'" + (match ? match[0] : text.charAt(at)) + "'";
  }

  // The line (from 1) and the offset at which that line starts, for the position `at`; a
  // carriage return and line feed count as one line break.
  function lineOf(at) {
    var line = 1;
    var lineStart = 0;
    var nextLf = text.indexOf("\n");
    var nextCr = text.indexOf("\r");
    for (;;) {
      var next = nextLf < 0 ? nextCr : nextCr < 0 ? nextLf : Math.min(nextLf, nextCr);
      if (next < 0 || next >= at) break;
      var after = next + 1;
      if (text.charCodeAt(next) === 0x0d && text.charCodeAt(after) === 0x0a) {
        if (after >= at) break;
        after++;
      }
      line++;
      lineStart = after;
      if (nextLf >= 0 && nextLf < after) nextLf = text.indexOf("\n", after);
      if (nextCr >= 0 && nextCr < after) nextCr = text.indexOf("\r", after);
    }
    return {line: line, start: lineStart};
  }

  function fail(at, expected, found) {
    var place = lineOf(at);
    var lineEnd = at;
    while (lineEnd < text.length && lineEnd - at < EXCERPT_AFTER) {
      var c = text.charCodeAt(lineEnd);
      if (c === 0x0a || c === 0x0d) break;
      lineEnd++;
    }
    var from = Math.max(place.start, at - EXCERPT_BEFORE);
    var prefix = from > place.start ? "..." : "";
    var cut = lineEnd < text.length && text.charCodeAt(lineEnd) !== 0x0a &&
              text.charCodeAt(lineEnd) !== 0x0d;
    // Control characters would break the excerpt's single line.
    var excerpt = prefix + text.substring(from, lineEnd).replace(/[\u0000-\u001f\u007f]/g, " ") +
                  (cut ? "..." : "");
    var caret = new Array(prefix.length + (at - from) + 1).join("-") + "^";
    var error = new Error("Parse error on line " + place.line + ", column " +
                          (at - place.start + 1) + ":\n" + excerpt + "\n" + caret + "\n" +
                          "Expected " + expected + ", found " + (found || describe(at)) + ".");
    error.line = place.line;
    error.column = at - place.start + 1;
    throw error;
  }

  // Reads the string whose opening quotation mark is at `at`; returns the position after it.
  function stringEnd(at) {
    var start = at;
    at++;
    for (;;) {
      var quote = text.indexOf("\"", at);
      if (nextBackslash >= 0 && nextBackslash < at) nextBackslash = text.indexOf("\\", at);
      var backslash = nextBackslash;
      if (quote >= 0 && (backslash < 0 || quote < backslash)) return quote + 1;
      if (backslash < 0) {
        fail(text.length, "'\"' to end the string that starts on line " + lineOf(start).line);
      }
      at = backslash + 1;
      var c = text.charCodeAt(at);
      if (c === 0x22 || c === 0x5c || c === 0x2f || c === 0x6e || c === 0x72 || c === 0x74) {
        at++;
      } else if (c === 0x75) {
        for (var k = 1; k <= 4; k++) {
          if (!isHexDigit(text.charCodeAt(at + k))) {
            fail(at + k, "a hexadecimal digit (four follow \\u)");
          }
        }
        at += 5;
      } else if (at >= text.length) {
        fail(at, ESCAPE);
      } else {
        fail(backslash, ESCAPE,
             c < 0x20 || (c >= 0xd800 && c <= 0xdfff) ? describe(at)
                                                      : "'\\" + text.charAt(at) + "'");
      }
    }
  }

  function wordEnd(at, word) {
    if (text.substr(at, word.length) !== word) fail(at, "'" + word + "'");
    return at + word.length;
  }

  // Reads up to a batch of tokens; true once the text is read whole. The reader's position and
  // state live in locals while a batch runs: a function called often is compiled, and locals are
  // what compiled code reaches fastest.
  function readBatch() {
    var t = text;
    var p = pos;
    var st = state;
    for (var n = 0; n < 8192; n++) {
      var c = t.charCodeAt(p);
      if (c === 0x20 || c === 0x0a || c === 0x0d || c === 0x09 || c === 0x00) {
        WHITESPACE.lastIndex = p;
        WHITESPACE.test(t);
        p = WHITESPACE.lastIndex;
        c = t.charCodeAt(p);
      }
      if (st === AFTER_VALUE) {
        if (stack.length === 0) {
          if (p < t.length) fail(p, "the end of the input");
          return true;
        }
        var top = stack[stack.length - 1];
        if (c === 0x2c) {
          p++;
          st = top === 0x7b ? MEMBER_NEXT : ELEMENT_NEXT;
        } else if (c === (top === 0x7b ? 0x7d : 0x5d)) {
          stack.pop();
          p++;
        } else {
          fail(p, top === 0x7b ? "',' or '}'" : "',' or ']'");
        }
      } else if (st === MEMBER_FIRST || st === MEMBER_NEXT) {
        if (c === 0x7d && st === MEMBER_FIRST) {
          stack.pop();
          p++;
          st = AFTER_VALUE;
          continue;
        }
        if (c !== 0x22) {
          fail(p, st === MEMBER_FIRST ? "a string (a member name) or '}'" : "a string (a member name)");
        }
        p = stringEnd(p);
        c = t.charCodeAt(p);
        if (c === 0x20 || c === 0x0a || c === 0x0d || c === 0x09 || c === 0x00) {
          WHITESPACE.lastIndex = p;
          WHITESPACE.test(t);
          p = WHITESPACE.lastIndex;
          c = t.charCodeAt(p);
        }
        if (c !== 0x3a) fail(p, "':' after the member name");
        p++;
        st = VALUE_NEXT;
      } else if (c === 0x22) {
        p = stringEnd(p);
        st = AFTER_VALUE;
      } else if (c === 0x2d || (c >= 0x30 && c <= 0x39)) {
        // As in the application's reader a number ends where its form ends: "1." is the number
        // 1 followed by a stray point.
        NUMBER_AT.lastIndex = p;
        if (!NUMBER_AT.test(t)) fail(p + 1, "a digit after '-'");
        p = NUMBER_AT.lastIndex;
        st = AFTER_VALUE;
      } else if (c === 0x7b || c === 0x5b) {
        if (stack.length >= MAX_DEPTH) {
          fail(p, "at most " + MAX_DEPTH + " nested arrays and objects",
               "'" + t.charAt(p) + "' opening level " + (MAX_DEPTH + 1));
        }
        stack.push(c);
        p++;
        st = c === 0x7b ? MEMBER_FIRST : ELEMENT_NEXT;
      } else if (c === 0x5d && st === ELEMENT_NEXT) {
        stack.pop();
        p++;
        st = AFTER_VALUE;
      } else if (c === 0x74) {
        p = wordEnd(p, "true");
        st = AFTER_VALUE;
      } else if (c === 0x66) {
        p = wordEnd(p, "false");
        st = AFTER_VALUE;
      } else if (c === 0x6e) {
        p = wordEnd(p, "null");
        st = AFTER_VALUE;
      } else {
        fail(p, st === ELEMENT_NEXT ? VALUE + " or ']'" : VALUE);
      }
    }
    pos = p;
    state = st;
    return false;
  }

  function parse(input) {
    text = String(input);
    pos = 0;
    state = VALUE_NEXT;
    stack = [];
    nextBackslash = text.indexOf("\\");
    try {
      while (!readBatch()) {}
    } finally {
      text = "";
      stack = [];
      // Pattern objects remember the last text they searched; an empty search lets the input go.
      WHITESPACE.lastIndex = 0;
      WHITESPACE.test("");
    }
  }

  return {parse: parse};
})();
