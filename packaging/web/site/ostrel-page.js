// Starts Ostrel on the page, reads keys by their physical place as the desktop program does,
// and, once it runs, registers the service worker that keeps the page's files for offline use.
'use strict';

(function () {
    const canvas = document.getElementById('screen');
    const status = document.getElementById('status');

    // The calculator reads the main-row digits by their key, whatever Shift or the layout makes
    // of them, and Alt access keys by the letter of the key: on a Mac Option+T types a dagger.
    // Such keys reach Qt again as the key's own digit or letter, the layout's where the browser
    // tells it, else the letter the key has on a US keyboard.
    let layout = null;
    if (navigator.keyboard && navigator.keyboard.getLayoutMap) {
        navigator.keyboard.getLayoutMap().then((map) => { layout = map; }, () => {});
    }
    function physicalKey(event) {
        let match = /^Digit([0-9])$/.exec(event.code);
        if (match)
            return match[1];
        match = /^Key([A-Z])$/.exec(event.code);
        if (!match || !event.altKey || event.ctrlKey || event.metaKey)
            return null;
        const own = layout && layout.get(event.code);
        return own && /^[a-z]$/i.test(own) ? own.toLowerCase() : match[1].toLowerCase();
    }
    function rekey(event) {
        if (!event.isTrusted)
            return;
        const key = physicalKey(event);
        if (key === null || key === event.key)
            return;
        event.stopImmediatePropagation();
        event.preventDefault();
        event.target.dispatchEvent(new KeyboardEvent(event.type, {
            key: key, code: event.code, location: event.location, repeat: event.repeat,
            altKey: event.altKey, shiftKey: event.shiftKey, ctrlKey: event.ctrlKey,
            metaKey: event.metaKey, bubbles: true, cancelable: true, composed: true,
        }));
    }
    window.addEventListener('keydown', rekey, true);
    window.addEventListener('keyup', rekey, true);

    function say(text) {
        status.textContent = text;
        status.hidden = false;
    }
    const loader = QtLoader({
        canvasElements: [canvas],
        showLoader: () => say('Loading Ostrel\u2026'),
        showError: (text) => say('Ostrel could not start: ' + text),
        showExit: () => say('Ostrel has ended. Reload the page to start it again.'),
        showCanvas: () => {
            status.hidden = true;
            // Once the calculator runs: the worker's first download of every file would
            // otherwise compete with the page's own.
            if ('serviceWorker' in navigator)
                setTimeout(() => navigator.serviceWorker.register('sw.js').catch(() => {}), 1000);
        },
    });
    loader.loadEmscriptenModule('ostrel');
})();
