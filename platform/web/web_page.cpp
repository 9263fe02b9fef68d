// The browser view's page and script. The script draws each PNG rectangle where the server
// says, in the order they came; turns mouse and finger presses on the canvas into the panel's
// own down, move and up (a held press stays held, so a held button repeats as on the panel);
// and shows the connection and who holds control. window.panelView tells tests what it shows.
#include "platform/web/web_page.h"

namespace platform::web {

namespace {

constexpr std::string_view kHtml = "text/html; charset=utf-8";
constexpr std::string_view kText = "text/plain; charset=utf-8";

constexpr std::string_view kPageHead = R"(<!doctype html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1, user-scalable=no">
<title>)";

constexpr std::string_view kPageBody = R"( panel</title>
<style>
html, body { margin: 0; height: 100%; background: #1c1c1c; color: #e8e8e8;
  font: 15px/1.3 sans-serif; }
body { display: flex; flex-direction: column; }
#bar { display: flex; align-items: center; gap: 14px; padding: 6px 12px; background: #303030; }
#link { font-weight: bold; }
#link.lost { color: #ff8080; }
#control { flex: 1; }
#take { font: inherit; font-weight: bold; padding: 4px 14px; }
#box { flex: 1; min-height: 0; display: flex; align-items: center; justify-content: center; }
#panel { background: #000; touch-action: none; user-select: none; -webkit-user-select: none;
  image-rendering: pixelated; }
#panel.watching { cursor: not-allowed; }
</style>
</head>
<body>
<div id="bar">
<span id="link">Connecting...</span>
<span id="control"></span>
<button id="take" type="button" hidden>TAKE CONTROL</button>
</div>
<div id="box"><canvas id="panel" width="640" height="480"></canvas></div>
<script src="/panel.js"></script>
</body>
</html>
)";

constexpr std::string_view kScript = R"('use strict';
(function () {
  const W = 640, H = 480;
  const canvas = document.getElementById('panel');
  const box = document.getElementById('box');
  const ctx = canvas.getContext('2d');
  const link = document.getElementById('link');
  const control = document.getElementById('control');
  const take = document.getElementById('take');
  const params = new URLSearchParams(location.search);
  let ws = null;
  let me = 0;
  let holder = 0;
  let held = false;
  let move = null;
  let moveQueued = false;
  let drawing = Promise.resolve();
  const view = { updates: 0, state: null, connected: false, refused: false,
                 settled: () => drawing.then(() => view.updates) };
  window.panelView = view;

  function fit() {
    const scale = Math.max(0.1, Math.min(box.clientWidth / W, box.clientHeight / H));
    canvas.style.width = Math.floor(W * scale) + 'px';
    canvas.style.height = Math.floor(H * scale) + 'px';
  }
  window.addEventListener('resize', fit);
  fit();

  function inControl() { return me !== 0 && me === holder; }

  function showControl() {
    const s = view.state;
    if (!view.connected || !s) {
      control.textContent = '';
      take.hidden = true;
      return;
    }
    const others = s.viewers > 1 ? ' (' + s.viewers + ' viewers)' : '';
    if (inControl()) {
      control.textContent = 'You have control' + others;
    } else if (holder) {
      control.textContent = 'Watching. Control: ' + s.holderName + others;
    } else {
      control.textContent = 'Watching. Nobody has control' + others;
    }
    take.hidden = inControl();
    canvas.classList.toggle('watching', !inControl());
  }

  function send(type, p) {
    if (ws && ws.readyState === WebSocket.OPEN) {
      ws.send(JSON.stringify(p ? { type: type, x: p.x, y: p.y } : { type: type }));
    }
  }

  function onUpdate(buffer) {
    if (buffer.byteLength <= 8) return;
    const head = new DataView(buffer, 0, 8);
    const x = head.getUint16(0, true);
    const y = head.getUint16(2, true);
    const decoded = createImageBitmap(new Blob([new Uint8Array(buffer, 8)], { type: 'image/png' }));
    drawing = drawing.then(() => decoded).then((bitmap) => {
      ctx.drawImage(bitmap, x, y);
      bitmap.close();
      view.updates++;
    }).catch(() => {});
  }

  function onState(s) {
    if (!s || s.type !== 'state') return;
    view.state = s;
    me = s.you;
    holder = s.holder;
    if (!inControl()) held = false;
    showControl();
  }

  function lost() {
    view.connected = false;
    held = false;
    me = 0;
    link.className = 'lost';
    showControl();
    // A refused page says why; anything else is tried again.
    fetch(location.href, { cache: 'no-store' }).then((r) => {
      if (r.status === 403) {
        view.refused = true;
        link.textContent = 'Refused: this panel needs its access token. Open the address ' +
                           'the panel program printed (it ends in ?token=...).';
      } else {
        link.textContent = 'Connection lost, trying again...';
      }
    }).catch(() => { link.textContent = 'Connection lost, trying again...'; });
    setTimeout(connect, 2000);
  }

  function connect() {
    const q = new URLSearchParams();
    if (params.get('token')) q.set('token', params.get('token'));
    if (params.get('name')) q.set('name', params.get('name'));
    const scheme = location.protocol === 'https:' ? 'wss:' : 'ws:';
    ws = new WebSocket(scheme + '//' + location.host + '/view?' + q.toString());
    ws.binaryType = 'arraybuffer';
    ws.onopen = () => {
      view.connected = true;
      view.refused = false;
      link.className = '';
      link.textContent = 'Connected';
      showControl();
    };
    ws.onclose = lost;
    ws.onmessage = (e) => {
      if (typeof e.data !== 'string') return onUpdate(e.data);
      try { onState(JSON.parse(e.data)); } catch (err) { /* not ours: ignored */ }
    };
  }

  function point(e) {
    const r = canvas.getBoundingClientRect();
    const x = Math.floor((e.clientX - r.left) * W / r.width);
    const y = Math.floor((e.clientY - r.top) * H / r.height);
    return { x: Math.min(W - 1, Math.max(0, x)), y: Math.min(H - 1, Math.max(0, y)) };
  }

  function flushMove() {
    moveQueued = false;
    if (held && move) send('move', move);
    move = null;
  }

  function end(e) {
    if (!held || !e.isPrimary) return;
    held = false;
    move = null;
    send('up', point(e));
  }

  canvas.addEventListener('pointerdown', (e) => {
    if (!e.isPrimary || e.button !== 0 || held || !inControl()) return;
    e.preventDefault();
    canvas.setPointerCapture(e.pointerId);
    held = true;
    send('down', point(e));
  });
  canvas.addEventListener('pointermove', (e) => {
    if (!held || !e.isPrimary) return;
    move = point(e);
    if (!moveQueued) {
      moveQueued = true;
      requestAnimationFrame(flushMove);
    }
  });
  canvas.addEventListener('pointerup', end);
  canvas.addEventListener('pointercancel', end);
  canvas.addEventListener('lostpointercapture', end);
  canvas.addEventListener('contextmenu', (e) => e.preventDefault());
  take.addEventListener('click', () => send('take'));
  connect();
})();
)";

constexpr std::string_view kTokenNeeded = R"(<!doctype html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Access token needed</title>
<style>
body { margin: 2em; background: #1c1c1c; color: #e8e8e8; font: 16px/1.4 sans-serif; }
input, button { font: inherit; padding: 4px 8px; }
</style>
</head>
<body>
<h1>This dryer panel needs its access token</h1>
<p>The panel is served beyond this machine only to viewers who give its token. Open the
address the panel program printed when it started (it ends in <code>?token=...</code>), or
enter the token here.</p>
<form method="get" action="/">
<input name="token" autocomplete="off" size="40" aria-label="Access token">
<button type="submit">OPEN</button>
</form>
</body>
</html>
)";

// The program's name as HTML text.
std::string Escaped(std::string_view text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out.push_back(c);
        }
    }
    return out;
}

}  // namespace

std::string PanelPage(std::string_view program)
{
    return std::string(kPageHead) + Escaped(program) + std::string(kPageBody);
}

std::string_view PanelScript()
{
    return kScript;
}

std::string_view TokenNeededPage()
{
    return kTokenNeeded;
}

std::optional<PageAnswer> RefusalOf(const PageRequest& request, const AccessRules& rules,
                                    bool viewersFull)
{
    const std::string_view path = TargetPath(request.target);
    if (request.upgrade && path != "/view") return PageAnswer{404, kText, "Not found.\n"};
    const bool guarded = path == "/" || path == "/index.html" || path == "/view";
    if (!guarded) return std::nullopt;  // the script and unknown paths: nothing to guard
    switch (CheckRequest(rules, request.target, request.host, request.origin)) {
        case Refusal::Allowed: break;
        case Refusal::NeedsToken: return PageAnswer{403, kHtml, std::string(kTokenNeeded)};
        case Refusal::ForeignHost:
        case Refusal::ForeignOrigin:
            return PageAnswer{403, kText, "This panel answers only pages of its own address.\n"};
    }
    if (request.upgrade && viewersFull) {
        return PageAnswer{503, kText, "The panel has as many viewers as it takes.\n"};
    }
    return std::nullopt;
}

PageAnswer AnswerTo(const PageRequest& request, std::string_view program)
{
    if (!request.read) return PageAnswer{405, kText, "Only GET is answered.\n"};
    const std::string_view path = TargetPath(request.target);
    if (path == "/" || path == "/index.html") return PageAnswer{200, kHtml, PanelPage(program)};
    if (path == "/panel.js") {
        return PageAnswer{200, "text/javascript; charset=utf-8", std::string(kScript)};
    }
    return PageAnswer{404, kText, "Not found.\n"};
}

}  // namespace platform::web
