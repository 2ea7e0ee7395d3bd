// The instrument's web page: every action is an SCPI message the instrument
// runs on its one SCPI worker, like any other remote client's.
"use strict";

function $(id) { return document.getElementById(id); }

function setStatus(text) { $("status").textContent = text || ""; }

async function getJson(path) {
  const r = await fetch(path, { cache: "no-store" });
  if (!r.ok) throw new Error(path + ": " + r.status);
  return r.json();
}

// Every action carries the session token the instrument handed this page;
// a page of another site can neither read it nor send it.
let sessionToken = null;
async function token() {
  if (!sessionToken) sessionToken = (await getJson("/api/session")).token;
  return sessionToken;
}

async function postJson(path, body, type) {
  const r = await fetch(path, {
    method: "POST",
    headers: { "Content-Type": type || "text/plain", "X-Ornav-Token": await token() },
    body: body,
  });
  if (!r.ok) throw new Error(path + ": " + r.status + " " + (await r.text()));
  return r.json();
}

function row(cells) {
  const tr = document.createElement("tr");
  for (const c of cells) {
    const td = document.createElement("td");
    if (c instanceof Node) td.appendChild(c); else td.textContent = c;
    tr.appendChild(td);
  }
  return tr;
}

async function loadInfo() {
  const i = await getJson("/api/info");
  $("title").textContent = i.manufacturer + " " + i.model;
  const body = $("info").tBodies[0];
  body.textContent = "";
  const rows = [
    ["Manufacturer", i.manufacturer], ["Model", i.model], ["Serial number", i.serial],
    ["Firmware", i.firmware], ["Hardware", i.hardware], ["Logic", i.logic],
    ["Host name", i.hostname], ["IP address", i.ip], ["Subnet mask", i.mask],
    ["Gateway", i.gateway], ["MAC address", i.mac], ["DHCP", i.dhcp ? "on" : "off"],
    ["VXI-11", i.vxi11], ["Raw socket", i.raw || "off"],
  ];
  for (const r of rows) body.appendChild(row(r));
}

function isOn(text) { return text === "1" || /^ON$/i.test(text); }

async function setOutput(ch, on) {
  const res = await postJson("/api/output", "channel=" + ch + "&on=" + (on ? 1 : 0),
                             "application/x-www-form-urlencoded");
  if (res.errors && res.errors.length) setStatus(res.errors.join("; "));
  await loadChannels();
}

// The replies are in the parser's exponent form ("1.000000e+03"): shown as
// plain numbers, anything else as it came.
function num(text) {
  const x = parseFloat(text);
  return isFinite(x) ? String(Number(x.toPrecision(10))) : text;
}

async function loadChannels() {
  const d = await getJson("/api/channels");
  const body = $("channel-table").tBodies[0];
  body.textContent = "";
  for (const c of d.channels) {
    const on = isOn(c.output);
    const b = document.createElement("button");
    b.id = "out-" + c.channel;
    b.className = "switch " + (on ? "on" : "off");
    b.textContent = on ? "ON" : "OFF";
    b.dataset.state = on ? "on" : "off";
    b.addEventListener("click", () => setOutput(c.channel, !on).catch((e) => setStatus(e.message)));
    body.appendChild(row(["CH" + c.channel, c.wave, num(c.frequency), num(c.amplitude), num(c.offset), b]));
  }
}

async function sendConsole(ev) {
  ev.preventDefault();
  const cmd = $("console-input").value.trim();
  if (!cmd) return;
  $("console-reply").textContent = "...";
  try {
    const res = await postJson("/api/scpi", cmd);
    $("console-reply").textContent = res.reply;
    $("console-reply").dataset.done = "1";
    const list = $("console-errors");
    list.textContent = "";
    for (const e of res.errors) {
      const li = document.createElement("li");
      li.textContent = e;
      list.appendChild(li);
    }
  } catch (e) {
    $("console-reply").textContent = e.message;
  }
}

async function sendUpload(ev) {
  ev.preventDefault();
  const f = $("upload-file").files[0];
  if (!f) return;
  const ch = $("upload-channel").value;
  const r = await fetch("/api/upload?channel=" + ch + "&name=" + encodeURIComponent(f.name),
                        { method: "POST", headers: { "Content-Type": "application/octet-stream",
                                                   "X-Ornav-Token": await token() }, body: f });
  $("upload-result").textContent = r.ok ? JSON.stringify(await r.json()) : r.status + " " + (await r.text());
}

// The screen view refreshes every second while the page is visible.
function refreshScreen() {
  if (document.hidden) return;
  const img = new Image();
  img.onload = () => { $("screen-img").src = img.src; $("screen-note").textContent = ""; };
  img.onerror = () => { $("screen-note").textContent = "screen view unavailable"; };
  img.src = "/screen.png?t=" + Date.now();
}

$("console-form").addEventListener("submit", sendConsole);
$("upload-form").addEventListener("submit", sendUpload);
loadInfo().catch((e) => setStatus(e.message));
loadChannels().catch((e) => setStatus(e.message));
refreshScreen();
setInterval(refreshScreen, 1000);
setInterval(() => loadChannels().catch(() => {}), 5000);
