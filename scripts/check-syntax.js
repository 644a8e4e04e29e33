#!/usr/bin/env node
// Parses every generated Swift or Dart file of a folder of cases with the tree-sitter grammar of
// the language and reports each syntax error with its line. Xcode's placeholders ("<#TODO#>"),
// which the Swift output writes where a name is the user's to choose, are the one accepted
// exception: each is read as an identifier of the same length.
// usage: node scripts/check-syntax.js swift|dart CASES_DIR
//   CASES_DIR holds one folder per case with expected.txt (the golden layout). The grammars come
//   from the npm packages web-tree-sitter and tree-sitter-wasms, which scripts/install-deps puts
//   under MIREL_TREE_SITTER_DIR (default: ~/.cache/mirel/tree-sitter).
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');

const [language, casesDir] = process.argv.slice(2);
if (!['swift', 'dart'].includes(language) || !casesDir) {
  console.error('usage: node scripts/check-syntax.js swift|dart CASES_DIR');
  process.exit(2);
}
const home = process.env.MIREL_TREE_SITTER_DIR ||
    path.join(process.env.XDG_CACHE_HOME || path.join(os.homedir(), '.cache'), 'mirel', 'tree-sitter');
const modules = path.join(home, 'node_modules');
if (!fs.existsSync(path.join(modules, 'web-tree-sitter'))) {
  console.error(`check-syntax: no tree-sitter under ${home}; run scripts/install-deps`);
  process.exit(2);
}
const {Parser, Language} = require(path.join(modules, 'web-tree-sitter', 'tree-sitter.cjs'));

// The first node of each broken stretch: an ERROR node or a node the parser had to invent.
function errors(node, found) {
  if (node.type === 'ERROR' || node.isMissing) {
    found.push(node);
    return found;
  }
  if (!node.hasError) return found;
  for (let i = 0; i < node.childCount; i++) errors(node.child(i), found);
  return found;
}

(async () => {
  await Parser.init();
  const grammar = path.join(modules, 'tree-sitter-wasms', 'out', `tree-sitter-${language}.wasm`);
  const parser = new Parser();
  parser.setLanguage(await Language.load(grammar));
  let count = 0;
  let failed = 0;
  for (const name of fs.readdirSync(casesDir).sort()) {
    const file = path.join(casesDir, name, 'expected.txt');
    if (!fs.existsSync(file)) continue;
    count++;
    const text = fs.readFileSync(file, 'utf8').replace(/<#TODO#>/g, '_TODO___');
    const tree = parser.parse(text);
    const found = errors(tree.rootNode, []);
    if (found.length === 0) continue;
    failed++;
    const lines = text.split('\n');
    for (const node of found.slice(0, 5)) {
      const row = node.startPosition.row;
      const what = node.isMissing ? `missing ${node.type}` : 'syntax error';
      console.error(`${name}:${row + 1}: ${what}: ${lines[row]}`);
    }
  }
  if (count === 0) {
    console.error(`check-syntax: no cases under ${casesDir}`);
    process.exit(1);
  }
  if (failed) process.exit(1);
  console.log(`${language}: ${count} files parse without syntax errors`);
})().catch((e) => {
  console.error(e);
  process.exit(1);
});
