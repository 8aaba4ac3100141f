// Node peer for stream_bench.sh: reads lines "A + B" (29.97 drop frame labels)
// on stdin and writes A + B as a label on stdout, one per line, using the npm
// package smpte-timecode. stream_bench.sh puts the package on NODE_PATH.
'use strict';

const fs = require('fs');
const Timecode = require('smpte-timecode');

// Reading everything at once keeps I/O out of the comparison as far as node allows.
const lines = fs.readFileSync(0, 'latin1').split('\n');
const out = [];
let errors = 0;

for (const line of lines) {
    if (line === '') continue;
    const plus = line.indexOf('+');
    try {
        if (plus < 0) throw new Error('no +');
        const a = Timecode(line.slice(0, plus).trim(), 29.97, true);
        const b = Timecode(line.slice(plus + 1).trim(), 29.97, true);
        out.push(a.add(b).toString());
    } catch (e) {
        // Keep the output aligned with the input so the comparison points at this line.
        out.push('error');
        errors++;
    }
}

out.push('');
fs.writeFileSync(1, out.join('\n'));
if (errors > 0) {
    process.stderr.write(`smpte_timecode_peer: ${errors} lines did not parse\n`);
    process.exitCode = 1;
}
