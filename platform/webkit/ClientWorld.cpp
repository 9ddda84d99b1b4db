#include "platform/webkit/ClientWorld.h"

namespace platform::webkit {

namespace {

// Runs at the start of every document of the main frame, in the client's isolated world: it
// shares the page's DOM, but its globals and the prototypes of the DOM's interfaces are its own,
// so nothing a page script replaces or defines is ever called from here. What it can still meet
// are the page's documents themselves: any size, any shape, changing all the time. Hence the
// bounds (items, text per item, text in all, nodes visited, depth), the try/catch around every
// entry point, and the throttle that keeps reading a busy page to a small share of its time.
constexpr const char* kScript = R"JS(
(function () {
'use strict';
if (Object.prototype.hasOwnProperty.call(window, 'campus')) return;

var MAX_ITEMS = 5000;
var MAX_ITEM_TEXT = 32768;
var MAX_TOTAL_TEXT = 2 * 1024 * 1024;  // bytes of UTF-8, about
var MAX_VISITS = 200000;
var MAX_DEPTH = 1000;
var MIN_GAP = 50;  // ms between two posts while the page keeps changing
var HTML = 'http://www.w3.org/1999/xhtml';

var handler = null;
try { handler = window.webkit.messageHandlers.campus; } catch (e) {}
var timer = window.setTimeout.bind(window);
var clock = window.performance && window.performance.now ?
    function () { return window.performance.now(); } : function () { return Date.now(); };

// Node numbers: an element keeps its number for its life in this document, and a number is
// never given twice. The map back holds only elements still in the document (pruned after each
// outline), so removed elements are not kept alive by it.
var numbers = new WeakMap();
var elements = new Map();
var nextNumber = 1;
function numberOf(el) {
    var n = numbers.get(el);
    if (n === undefined) {
        n = nextNumber++;
        numbers.set(el, n);
    }
    elements.set(n, el);
    return n;
}
function elementOf(n) {
    var el = elements.get(Number(n));
    return el && el.isConnected && el.ownerDocument === document ? el : null;
}
function pruneElements() {
    elements.forEach(function (el, n) {
        if (!el.isConnected) elements.delete(n);
    });
}

// Outlines of later documents of the view must read as newer than those of earlier ones, so
// the sequence starts from the wall clock (milliseconds) rather than from 1 in every document.
var sequence = 0;
function nextSequence() {
    sequence = Math.max(sequence + 1, Date.now());
    return sequence;
}

var SKIP = {script: 1, style: 1, template: 1, noscript: 1, head: 1, title: 1, meta: 1, link: 1,
            iframe: 1, frame: 1, frameset: 1, object: 1, embed: 1, canvas: 1, video: 1,
            audio: 1, datalist: 1, option: 1, optgroup: 1};
var BUTTON_TYPES = {button: 1, submit: 1, reset: 1, image: 1};
var NOT_TEXT = {checkbox: 1, radio: 1, file: 1, hidden: 1, button: 1, submit: 1, reset: 1,
                image: 1, range: 1, color: 1};
var HOLDS_ITEMS = 'a[href],button,input:not([type="hidden" i]),textarea,select,[onclick],' +
    '[role~="button" i],[id]';

function isHTML(el) { return el.namespaceURI === HTML; }
function hasRole(el, role) {
    var value = el.getAttribute('role');
    return !!value && (' ' + value.toLowerCase() + ' ').indexOf(' ' + role + ' ') >= 0;
}
function isField(el) {
    if (!el || el.nodeType !== 1 || !isHTML(el)) return false;
    var name = el.localName;
    if (name === 'textarea' || name === 'select') return true;
    return name === 'input' && el.type !== 'hidden' && !BUTTON_TYPES[el.type];
}
function isTextField(el) {
    if (!isField(el)) return false;
    return el.localName === 'textarea' || (el.localName === 'input' && !NOT_TEXT[el.type]);
}
function controlOf(el) {
    if (!isField(el)) return '';
    return el.localName === 'input' ? String(el.type) : el.localName;
}

// Text as a reader sees it: blank runs made one space, trimmed, at most MAX_ITEM_TEXT long.
function clean(text) {
    text = text.replace(/\s+/g, ' ').replace(/^ | $/g, '');
    return cut(text, MAX_ITEM_TEXT);
}
function cut(text, limit) {
    if (text.length <= limit) return text;
    var end = limit - 1;
    var code = text.charCodeAt(end - 1);
    if (code >= 0xd800 && code <= 0xdbff) end--;  // not half a surrogate pair
    return text.slice(0, end) + '\u2026';
}
function bytesOf(text) {
    var bytes = text.length;
    for (var i = 0; i < text.length; i++) {
        if (text.charCodeAt(i) > 0x7f) bytes += 2;
    }
    return bytes;
}
function round(v) { return Math.round(v * 100) / 100; }

function breaksRun(display) {
    return !(display.indexOf('inline') === 0 || display.indexOf('ruby') === 0 ||
             display === 'contents');
}

// The union of the boxes with an area; null when none has one.
function unionOf(rects) {
    var box = null;
    for (var i = 0; i < rects.length; i++) {
        var r = rects[i];
        if (!(r.width > 0 && r.height > 0)) continue;
        if (!box) {
            box = {left: r.left, top: r.top, right: r.right, bottom: r.bottom};
        } else {
            box.left = Math.min(box.left, r.left);
            box.top = Math.min(box.top, r.top);
            box.right = Math.max(box.right, r.right);
            box.bottom = Math.max(box.bottom, r.bottom);
        }
    }
    return box;
}
function grow(box, more) {
    if (!more) return box;
    if (!box) return {left: more.left, top: more.top, right: more.right, bottom: more.bottom};
    box.left = Math.min(box.left, more.left);
    box.top = Math.min(box.top, more.top);
    box.right = Math.max(box.right, more.right);
    box.bottom = Math.max(box.bottom, more.bottom);
    return box;
}

var range = document.createRange();
function contentBox(el) {
    range.selectNodeContents(el);
    return unionOf(range.getClientRects());
}
function textBox(node) {
    range.selectNodeContents(node);
    return unionOf(range.getClientRects());
}

// What an element shows, in flat-tree order: an open shadow root's nodes stand for the light
// ones, and a slot shows what is assigned to it (else its own fallback).
function childrenOf(node) {
    if (node.nodeType === 1) {
        var root = node.shadowRoot;
        if (root) return root.childNodes;
        if (node.localName === 'slot' && node.assignedNodes) {
            var assigned = node.assignedNodes();
            if (assigned.length) return assigned;
        }
    }
    return node.childNodes;
}

// Where ordered lists number their items, with start, reversed and value as the page set them.
function listNumbers(list) {
    var found = new Map();
    var items = [];
    var children = list.children;
    for (var i = 0; i < children.length; i++) {
        var child = children[i];
        if (child.localName !== 'li') continue;
        if (getComputedStyle(child).display === 'none') continue;
        items.push(child);
    }
    var reversed = !!list.reversed;
    var n = list.hasAttribute('start') ? list.start : (reversed ? items.length : 1);
    for (var j = 0; j < items.length; j++) {
        var value = parseInt(items[j].getAttribute('value'), 10);
        if (!isNaN(value)) n = value;
        found.set(items[j], n);
        n += reversed ? -1 : 1;
    }
    return found;
}
function alphabetic(n, upper) {
    if (n < 1) return String(n);
    var text = '';
    while (n > 0) {
        n--;
        text = String.fromCharCode(97 + (n % 26)) + text;
        n = Math.floor(n / 26);
    }
    return upper ? text.toUpperCase() : text;
}
function roman(n, upper) {
    if (n < 1 || n > 3999) return String(n);
    var values = [1000, 900, 500, 400, 100, 90, 50, 40, 10, 9, 5, 4, 1];
    var marks = ['m', 'cm', 'd', 'cd', 'c', 'xc', 'l', 'xl', 'x', 'ix', 'v', 'iv', 'i'];
    var text = '';
    for (var i = 0; i < values.length; i++) {
        while (n >= values[i]) { text += marks[i]; n -= values[i]; }
    }
    return upper ? text.toUpperCase() : text;
}
function marker(n, type) {
    switch (type) {
    case 'none': case 'disc': case 'circle': case 'square': case 'disclosure-open':
    case 'disclosure-closed':
        return '';
    case 'lower-alpha': case 'lower-latin': return alphabetic(n, false) + '. ';
    case 'upper-alpha': case 'upper-latin': return alphabetic(n, true) + '. ';
    case 'lower-roman': return roman(n, false) + '. ';
    case 'upper-roman': return roman(n, true) + '. ';
    case 'decimal-leading-zero': return (n >= 0 && n < 10 ? '0' : '') + n + '. ';
    default: return n + '. ';
    }
}

// One reading of the document.
function Reader() {
    this.items = [];
    this.total = 0;
    this.visits = 0;
    this.stopped = false;
    this.pinned = false;
    this.sx = window.scrollX;
    this.sy = window.scrollY;
    this.run = null;
    this.lists = new Map();
}

var TOP = 0;    // listing items, and text between them
var TEXT = 1;   // gathering a leaf item's text
var ITEMS = 2;  // listing items without text (inside a label, which has its own)

Reader.prototype.read = function () {
    var root = document.documentElement;
    if (root) {
        var style = getComputedStyle(root);
        this.visit(root, TOP, style.visibility === 'visible', false, 0, null);
    }
    this.endRun();
    return this.items;
};

Reader.prototype.visitChildren = function (el, mode, shown, pinned, depth, sink) {
    var children = childrenOf(el);
    for (var i = 0; i < children.length && !this.stopped; i++) {
        this.visit(children[i], mode, shown, pinned, depth + 1, sink);
    }
};

Reader.prototype.visit = function (node, mode, shown, pinned, depth, sink) {
    if (this.stopped) return;
    if (++this.visits > MAX_VISITS || depth > MAX_DEPTH) {
        this.stopped = this.visits > MAX_VISITS;
        return;
    }
    if (node.nodeType === 3) {
        if (mode !== ITEMS && shown) this.addText(node, mode, sink, pinned);
        return;
    }
    if (node.nodeType !== 1) return;
    var el = node;
    var name = el.localName;
    var html = isHTML(el);
    if (html && SKIP[name]) return;
    var style = getComputedStyle(el);
    var display = style.display;
    if (display === 'none') return;
    if (html && name === 'br') {
        this.boundary(mode, sink);
        return;
    }
    shown = style.visibility === 'visible';
    pinned = pinned || style.position === 'fixed' || style.position === 'sticky';
    var contents = display === 'contents';
    var rects = contents ? null : el.getClientRects();
    // A box of (next to) no size that clips what overflows it shows nothing of its subtree.
    if (rects && (style.overflowX !== 'visible' || style.overflowY !== 'visible')) {
        var box = el.getBoundingClientRect();
        if (box.width <= 1 || box.height <= 1) return;
    }
    if (html && name === 'input' && el.type === 'hidden') return;
    if (mode === TEXT) {
        if (html && (name === 'select' || name === 'textarea' || name === 'input')) return;
        if (html && name === 'img') {
            if (shown && el.alt) sink.text += ' ' + el.alt + ' ';
            return;
        }
    } else {
        var kind = this.kindOf(el, name, html);
        if (kind) {
            if (mode === TOP) this.endRun();
            if (kind === 'label') {
                if (shown) this.addItem(el, name, kind, rects, pinned);
                this.visitChildren(el, ITEMS, shown, pinned, depth, null);
            } else if (shown) {
                this.addItem(el, name, kind, rects, pinned);
            }
            return;
        }
    }
    var block = !contents && breaksRun(display);
    if (block) this.boundary(mode, sink);
    if (html && name === 'li' && mode !== ITEMS && shown &&
        display.indexOf('list-item') >= 0) {
        this.listMarker(el, style, rects, mode, sink);
    }
    if (html && name === 'details' && !el.open) {
        // Only its summary shows while it is closed.
        var summary = null;
        for (var i = 0; i < el.children.length; i++) {
            if (el.children[i].localName === 'summary') { summary = el.children[i]; break; }
        }
        if (summary) this.visit(summary, mode, shown, pinned, depth + 1, sink);
    } else {
        this.visitChildren(el, mode, shown, pinned, depth, sink);
    }
    if (block) this.boundary(mode, sink);
};

Reader.prototype.kindOf = function (el, name, html) {
    if (name === 'a' && el.hasAttribute('href')) return 'link';
    if (html) {
        if (name === 'button') return 'button';
        if (name === 'input') return BUTTON_TYPES[el.type] ? 'button' : 'field';
        if (name === 'textarea' || name === 'select') return 'field';
        if (name === 'label') return 'label';
    }
    if (el.hasAttribute('onclick') || hasRole(el, 'button')) return 'button';
    if (el.id) {
        var holds = true;
        try { holds = !!el.querySelector(HOLDS_ITEMS); } catch (e) {}
        if (!holds) return 'element';
    }
    return null;
};

Reader.prototype.boundary = function (mode, sink) {
    if (mode === TOP) this.endRun();
    else if (mode === TEXT) sink.text += ' ';
};

Reader.prototype.listMarker = function (li, style, rects, mode, sink) {
    var list = li.parentElement;
    if (!list || list.localName !== 'ol' || !isHTML(list)) return;
    var found = this.lists.get(list);
    if (!found) {
        found = listNumbers(list);
        this.lists.set(list, found);
    }
    if (!found.has(li)) return;
    var text = marker(found.get(li), style.listStyleType);
    if (!text) return;
    if (mode === TEXT) {
        sink.text += text;
        return;
    }
    var run = this.startRun();
    run.text += text;
    // Where the marker stands, for a run that has nothing else: beside the item's first line.
    var first = unionOf(rects ? [rects[0]] : []);
    if (first) {
        var size = parseFloat(style.fontSize) || 16;
        var line = parseFloat(style.lineHeight) || size * 1.2;
        run.marker = {left: Math.max(0, first.left - 2 * size), top: first.top,
                      right: first.left, bottom: first.top + Math.min(line, first.bottom - first.top)};
        if (run.marker.right <= run.marker.left) run.marker.right = run.marker.left + 2 * size;
    }
};

Reader.prototype.startRun = function () {
    if (!this.run) this.run = {text: '', box: null, marker: null, pinned: false};
    return this.run;
};

Reader.prototype.addText = function (node, mode, sink, pinned) {
    var data = node.data;
    if (!/\S/.test(data)) {
        if (data.length) {
            if (mode === TEXT) sink.text += ' ';
            else if (this.run) this.run.text += ' ';
        }
        return;
    }
    var box = textBox(node);
    if (!box) return;  // not laid out: nothing of it shows
    // Enough to fill an item after blanks are collapsed; the rest could never show.
    var room = 2 * MAX_ITEM_TEXT;
    if (mode === TEXT) {
        if (sink.text.length < room) sink.text += data.slice(0, room);
        return;
    }
    var run = this.startRun();
    if (run.text.length < room) run.text += data.slice(0, room);
    run.box = grow(run.box, box);
    if (pinned) run.pinned = true;
};

Reader.prototype.endRun = function () {
    var run = this.run;
    this.run = null;
    if (!run) return;
    var text = clean(run.text);
    if (!text) return;
    var box = run.box || run.marker;
    if (!box) return;
    this.push({kind: 'text'}, text, box, run.pinned);
};

Reader.prototype.leafText = function (el) {
    var sink = {text: ''};
    var style = getComputedStyle(el);
    this.visitChildren(el, TEXT, style.visibility === 'visible', false, 0, sink);
    return clean(sink.text);
};

Reader.prototype.addItem = function (el, name, kind, rects, pinned) {
    var box = unionOf(rects || []) || contentBox(el);
    if (!box) return;  // a box of no size shows nothing
    var item = {kind: kind, node: numberOf(el)};
    var text = '';
    var html = isHTML(el);
    if (kind === 'link' || kind === 'button') this.boxesOf(item, rects);
    if (kind === 'link') {
        text = this.leafText(el);
        var href = el.href;
        if (href && typeof href === 'object') {  // an SVG link
            try { href = new URL(href.baseVal, document.baseURI).href; } catch (e) { href = ''; }
        }
        if (href) item.href = String(href);
    } else if (kind === 'button') {
        if (html && name === 'input') {
            text = el.value || '';
            if (!text && el.labels && el.labels.length) text = this.leafText(el.labels[0]);
            if (!text && el.type === 'image') text = el.alt || '';
            if (!text && el.type === 'submit') text = 'Submit';
            if (!text && el.type === 'reset') text = 'Reset';
            text = clean(text);
        } else {
            text = this.leafText(el);
        }
        if (el.disabled === true) item.disabled = true;
    } else if (kind === 'field') {
        text = this.fieldInto(item, el, name);
    } else if (kind === 'label') {
        text = this.leafText(el);
        var control = controlOf(el.control);
        if (control) item.control = control;
    } else {
        text = this.leafText(el);
    }
    // Something to read for a link or button that shows only a picture without words.
    if (!text && (kind === 'link' || kind === 'button')) {
        text = clean(el.getAttribute('aria-label') || el.getAttribute('title') || '');
    }
    if (el.id) item.id = String(el.id);
    this.push(item, text, box, pinned);
};

Reader.prototype.fieldInto = function (item, el, name) {
    var text = '';
    if (name === 'select') {
        item.control = 'select';
        var options = [];
        var list = el.options;
        for (var i = 0; i < list.length && i < MAX_ITEMS; i++) {
            var option = clean(list[i].label || list[i].text || '');
            this.total += bytesOf(option);
            options.push(option);
        }
        if (options.length) item.options = options;
        var selected = el.selectedIndex;
        if (selected >= 0 && selected < options.length) {
            item.selected = selected;
            text = options[selected];
        }
    } else if (name === 'textarea') {
        item.control = 'textarea';
        text = cut(String(el.value), MAX_ITEM_TEXT);
    } else {
        var type = String(el.type);
        item.control = type;
        if (type === 'password') {
            text = '';  // a password never leaves the page
        } else if (type === 'file') {
            var names = [];
            var files = el.files || [];
            for (var j = 0; j < files.length; j++) names.push(files[j].name);
            text = cut(names.join(', '), MAX_ITEM_TEXT);
        } else {
            text = cut(String(el.value), MAX_ITEM_TEXT);
        }
        if ((type === 'checkbox' || type === 'radio') && el.checked) item.checked = true;
    }
    var fieldName = el.getAttribute('name');
    if (fieldName) item.name = fieldName;
    var placeholder = el.getAttribute('placeholder');
    if (placeholder && name !== 'select') item.placeholder = cut(placeholder, MAX_ITEM_TEXT);
    if (el.matches(':disabled')) item.disabled = true;
    if (name !== 'select' && el.readOnly) item.readOnly = true;
    if (name !== 'select' && typeof el.maxLength === 'number' && el.maxLength >= 0) {
        item.maxLength = el.maxLength;
    }
    if (document.activeElement === el) item.editing = true;
    return text;
};

Reader.prototype.push = function (item, text, box, pinned) {
    if (this.items.length >= MAX_ITEMS) {
        this.stopped = true;
        return;
    }
    if (text) {
        var bytes = bytesOf(text);
        if (this.total + bytes > MAX_TOTAL_TEXT) {
            // Room left, counting every character as the widest it could be.
            text = cut(text, Math.max(1, Math.floor((MAX_TOTAL_TEXT - this.total) / 3)));
            bytes = bytesOf(text);
            this.stopped = true;
        }
        this.total += bytes;
        item.text = text;
    }
    var x = round(box.left + this.sx), y = round(box.top + this.sy);
    var width = round(box.right - box.left), height = round(box.bottom - box.top);
    if (x) item.x = x;
    if (y) item.y = y;
    if (width) item.width = width;
    if (height) item.height = height;
    if (pinned) this.pinned = true;
    this.items.push(item);
};

// A link or button whose words run over several lines takes taps on its lines only: its boxes
// go with it when it has more than one.
Reader.prototype.boxesOf = function (item, rects) {
    if (!rects || rects.length < 2 || rects.length > 64) return;
    var boxes = [];
    for (var i = 0; i < rects.length; i++) {
        var r = rects[i];
        if (r.width <= 0 || r.height <= 0) continue;
        boxes.push([round(r.left + this.sx), round(r.top + this.sy), round(r.width), round(r.height)]);
    }
    if (boxes.length > 1) item.boxes = boxes;
};

function viewportMeta() {
    var metas = document.getElementsByTagName('meta');
    var found = null;
    for (var i = 0; i < metas.length; i++) {
        var name = metas[i].getAttribute('name');
        if (name && name.toLowerCase() === 'viewport') found = metas[i].getAttribute('content');
    }
    return found === null ? null : String(found);
}

// Undefined while the page's head is still being read: a viewport declared there may follow.
function viewportNow() {
    var viewport = viewportMeta();
    if (viewport === null && !document.body && document.readyState === 'loading')
        return undefined;
    return viewport;
}

var outlineHasPinned = false;
function build() {
    var reader = new Reader();
    var items = reader.read();
    outlineHasPinned = reader.pinned;
    var scroller = document.scrollingElement || document.documentElement;
    var active = document.activeElement;
    var viewport = viewportNow();
    var outline = {
        sequence: nextSequence(),
        url: String(location.href),
        title: String(document.title),
        viewport: viewport,
        viewportKnown: viewport !== undefined,
        scrollX: round(reader.sx),
        scrollY: round(reader.sy),
        documentWidth: scroller ? scroller.scrollWidth : 0,
        documentHeight: scroller ? scroller.scrollHeight : 0,
        viewWidth: window.innerWidth,
        viewHeight: window.innerHeight,
        focus: isField(active) ? numberOf(active) : -1,
        frames: framesNow(),
        items: items
    };
    pruneElements();
    return outline;
}

function post(message) {
    if (!handler) return;
    try { handler.postMessage(JSON.stringify(message)); } catch (e) {}
}

function framesNow() {
    try { return window.frames.length; } catch (e) { return 0; }
}

// Told at once, ahead of the outline: whether the page holds frames decides how the host
// reads who asks for a navigation, and a frame's first script may ask before the next outline;
// the viewport decides the width the page is laid out at, which its scripts read early.
var framesTold = 0;
var viewportTold;
function tellAtOnce() {
    var frames = framesNow();
    if (frames !== framesTold) {
        framesTold = frames;
        post({type: 'frames', count: frames});
    }
    var viewport = viewportNow();
    if (viewport !== undefined && viewport !== viewportTold) {
        viewportTold = viewport;
        post({type: 'viewport', content: viewport});
    }
}

// At most one outline per turn of the page's tasks, and while it keeps changing, one every
// MIN_GAP ms (longer when the page is so large that reading it takes more than a fifth of that).
var pending = false;
var lastPost = -Infinity;
var lastCost = 0;
function schedule() {
    tellAtOnce();
    if (pending) return;
    pending = true;
    var gap = Math.max(MIN_GAP, 4 * lastCost);
    var at = flushes;
    // A flush asked for meanwhile (flushNow) has posted it already.
    timer(function () { if (pending && at === flushes) flush(); },
          Math.max(0, lastPost + gap - clock()));
}

// Whether the host has had an outline of the document as it shows now; a page shown again from
// the back-forward cache is new to it.
var postedSinceShown = false;
function flushSoon() {
    framesTold = -1;
    viewportTold = undefined;
    postedSinceShown = false;
    schedule();
}

// What waits to be posted is posted now (the host is about to look).
function flushNow() {
    tellAtOnce();
    if (pending || !postedSinceShown) flush();
}
var flushes = 0;
function flush() {
    ++flushes;
    pending = false;
    var start = clock();
    lastPost = start;
    try {
        var outline = build();
        var message = {type: 'outline'};
        for (var key in outline) message[key] = outline[key];
        post(message);
        postedSinceShown = true;
    } catch (e) {}
    lastCost = clock() - start;
}

// A scroll of the page moves no item within the document, so it only says where the page now
// stands, unless something listed is pinned to the view (it moved within the document).
var scrollPending = false;
var lastScroll = -Infinity;
function scrolled(event) {
    if (event.target !== document && event.target !== document.scrollingElement) {
        schedule();  // an inner scroller moved the items within it
        return;
    }
    if (outlineHasPinned) { schedule(); return; }
    if (pending || scrollPending) return;
    scrollPending = true;
    timer(function () {
        scrollPending = false;
        lastScroll = clock();
        if (pending) return;
        post({type: 'scroll', x: round(window.scrollX), y: round(window.scrollY)});
    }, Math.max(0, lastScroll + MIN_GAP - clock()));
}

function guarded(fn) {
    return function () {
        try { return fn.apply(null, arguments); } catch (e) { return undefined; }
    };
}

function visibleBox(el) {
    var style = getComputedStyle(el);
    if (style.visibility !== 'visible') return null;
    var rects = el.getClientRects();
    var list = [];
    for (var i = 0; i < rects.length; i++) {
        if (rects[i].width > 0 && rects[i].height > 0) list.push(rects[i]);
    }
    if (!list.length) {
        var box = contentBox(el);
        if (box) list.push(box);
    }
    return list;
}
function hits(el, x, y) {
    var hit = document.elementFromPoint(x, y);
    return !!hit && (hit === el || el.contains(hit) || (el.labels && Array.prototype.indexOf.call(
        el.labels, hit) >= 0));
}
function pointIn(box) {
    var left = Math.max(box.left, 0), right = Math.min(box.right, window.innerWidth);
    var top = Math.max(box.top, 0), bottom = Math.min(box.bottom, window.innerHeight);
    if (right <= left || bottom <= top) {
        return {x: (box.left + box.right) / 2, y: (box.top + box.bottom) / 2};
    }
    return {x: (left + right) / 2, y: (top + bottom) / 2};
}
// Whether less of the box shows than could in the visible area.
function cutOff(box) {
    var shownWidth = Math.min(box.right, window.innerWidth) - Math.max(box.left, 0);
    var shownHeight = Math.min(box.bottom, window.innerHeight) - Math.max(box.top, 0);
    var width = Math.min(box.right - box.left, window.innerWidth);
    var height = Math.min(box.bottom - box.top, window.innerHeight);
    return shownWidth < width - 0.5 || shownHeight < height - 0.5;
}

function pointOf(node) {
    var el = elementOf(node);
    if (!el) return 'null';
    var boxes = visibleBox(el);
    if (!boxes || !boxes.length) return 'null';
    if (cutOff(boxes[0])) {
        try {
            el.scrollIntoView({block: 'center', inline: 'nearest', behavior: 'instant'});
        } catch (e) {
            el.scrollIntoView({block: 'center'});
        }
        boxes = visibleBox(el);
        if (!boxes || !boxes.length) return 'null';
    }
    var point = pointIn(boxes[0]);
    for (var i = 0; i < boxes.length; i++) {
        var p = pointIn(boxes[i]);
        if (hits(el, p.x, p.y)) { point = p; break; }
    }
    return JSON.stringify({x: round(point.x), y: round(point.y)});
}

function replaceText(node, text) {
    var el = elementOf(node);
    if (!isTextField(el)) return undefined;
    text = String(text);
    if (el.disabled || el.readOnly) return String(el.value);
    if (document.activeElement !== el) el.focus();
    try { el.select(); } catch (e) {}
    var done = false;
    try {
        if (text === '') done = el.value === '' || document.execCommand('delete', false);
        else done = document.execCommand('insertText', false, text);
    } catch (e) {}
    if (!done) {
        // The field could not be edited as typing does (no selection could be made in it): set
        // the value typing would have left, and tell the page as typing would.
        var limit = el.maxLength >= 0 ? el.maxLength : Infinity;
        el.value = text.length > limit ? text.slice(0, limit) : text;
        el.dispatchEvent(new InputEvent('input', {bubbles: true, inputType: 'insertText',
                                                  data: text}));
    }
    // The caret stands at the text's end now, and the field shows it there as typing would:
    // an edit made by a command does not scroll the field to its caret.
    try {
        el.scrollLeft = el.scrollWidth;
        el.scrollTop = el.scrollHeight;
    } catch (e) {}
    return String(el.value);
}

function blur() {
    var active = document.activeElement;
    if (active && active !== document.body && active.blur) active.blur();
}

function scrollTo(x, y) {
    x = Number(x) || 0;
    y = Number(y) || 0;
    try {
        window.scrollTo({left: x, top: y, behavior: 'instant'});
    } catch (e) {
        window.scrollTo(x, y);
    }
    return [window.scrollX, window.scrollY];
}

// The user's input the page has seen (a release of the mouse or a key): the host waits for what
// it sent to arrive before it takes the page as settled, since WebKit sends input on its own
// queue, after what the host sent later.
var inputsSeen = 0;
function sawInput() { ++inputsSeen; }
window.addEventListener('mouseup', sawInput, true);
window.addEventListener('keyup', sawInput, true);

var api = {
    outline: guarded(function () { return JSON.stringify(build()); }),
    pointOf: guarded(pointOf),
    replaceText: guarded(replaceText),
    blur: guarded(blur),
    scrollTo: guarded(scrollTo),
    flush: guarded(flushNow),
    inputsSeen: function () { return inputsSeen; }
};
Object.freeze(api);
Object.defineProperty(window, 'campus', {value: api});

try {
    new MutationObserver(schedule).observe(document, {childList: true, subtree: true,
        characterData: true, attributes: true});
} catch (e) {}
document.addEventListener('DOMContentLoaded', schedule, true);
window.addEventListener('load', schedule, true);  // capturing: pictures' loads move things too
['input', 'change', 'focusin', 'focusout', 'transitionend', 'animationend'].forEach(
    function (type) { window.addEventListener(type, schedule, true); });
window.addEventListener('resize', schedule);
// A page shown again from the back-forward cache keeps its world but changed nothing: the host
// has forgotten its outline all the same, and counts its input afresh, as for any document
// it shows anew.
window.addEventListener('pageshow', function (event) {
    if (!event.persisted) return;
    inputsSeen = 0;
    flushSoon();
});
window.addEventListener('scroll', guarded(scrolled), true);
try { document.fonts.addEventListener('loadingdone', schedule); } catch (e) {}
})();
)JS";

}  // namespace

const std::string& clientWorldScript() {
    static const std::string script(kScript);
    return script;
}

}  // namespace platform::webkit
