// The page's wiring: hands the controls' events to the window (C++), opens
// and closes the raster list, shows messages and ends the page. The controls
// stand in the page from the start (PageMarkup.cpp); the window takes them
// over once the WebAssembly runs.

// The one guard of every entry point (button, check boxes, list, menu, Alt+E,
// Enter and Escape): the window takes one event at a time, none before it is
// ready and none while a handler waits for its message to be closed. An
// event that cannot run now changes nothing on screen.
let ready = false;
let running = false;
const canRun = () => ready && !running;

// Runs an export of the window if it can take an event now; says whether it did.
function runHandler(name, ...args) {
  if (!canRun()) return false;
  running = true;
  const done = () => { running = false; };
  Promise.resolve(Module.ccall(name, null, args.map(() => 'number'), args, {async: true}))
      .then(done, done);
  return true;
}

// Clicks (a check box is ticked before its click arrives; cancelling the
// click clears it again). Captured first, before any other listener.
document.addEventListener('click', (event) => {
  const control = event.target.closest('#window button, #window input[type=checkbox], #window [role=option]');
  if (!control) return;
  if (!canRun()) {
    event.preventDefault();
    event.stopImmediatePropagation();
  } else if (control.dataset.notify === 'click') {
    runHandler('teilomat_notify', Number(control.dataset.id));
  } else if (control.dataset.notify === 'menu') {
    runHandler('teilomat_end');
  }
}, true);

// The menu's key (Alt+E, as its item advertises it) chooses "Ende" in every
// engine, whatever chord the engine's own access keys take.
document.addEventListener('keydown', (event) => {
  const item = document.getElementById('mnuFile');  // gone once the page has ended
  const shortcut = item && item.getAttribute('aria-keyshortcuts');
  if (!shortcut || !event.altKey || event.ctrlKey || event.metaKey ||
      shortcut !== `Alt+${event.key.toUpperCase()}`) return;
  event.preventDefault();
  runHandler('teilomat_end');
}, true);

// Clicking into an output box moves no focus.
document.addEventListener('mousedown', (event) => {
  if (event.target.readOnly) event.preventDefault();
});

// Clicks in a message or on the page behind it leave the focus on "OK".
document.getElementById('message').addEventListener('mousedown', (event) => {
  if (!event.target.closest('button')) event.preventDefault();
});

// Shows the message dialog and resolves once it is closed (OK, Enter or
// Escape). The page behind it is inert while it is open.
function showMessage(critical, caption, text) {
  const dialog = document.getElementById('message');
  dialog.classList.toggle('critical', critical);
  // The icon's meaning opens the dialog's description, for a screen reader.
  document.getElementById('message-severity').textContent = critical ? 'Fehler' : 'Warnung';
  document.getElementById('message-caption').textContent = caption;
  document.getElementById('message-text').textContent = text;
  return new Promise((resolve) => {
    dialog.addEventListener('close', resolve, {once: true});
    dialog.showModal();
  });
}

// "Ende": a page may close only a tab that a script opened. Where the browser
// refuses, the page ends in place: the form gives way to one line with a
// link that starts Teilomat again. Nothing is saved either way.
function endPage() {
  window.close();
  if (window.closed) return;
  const line = document.createElement('p');
  line.id = 'ended';
  line.textContent = 'Teilomat ist beendet. ';
  const again = document.createElement('a');
  again.href = location.href.split('#')[0];
  again.textContent = 'Neu starten';
  line.append(again);
  document.getElementById('window').replaceWith(line);
  again.focus();
}

// The raster list, as the ARIA combobox pattern has it: the button or
// Alt+Down (or Down) opens it, Up and Down move through it, Enter or a click
// chooses, Escape or leaving the field closes it. Typed text chooses nothing.
function wireCombobox(input) {
  const list = document.getElementById(input.getAttribute('aria-controls'));
  const button = input.nextElementSibling;
  let active = -1;
  const options = () => Array.from(list.children);
  const show = (index) => {
    active = index;
    options().forEach((option, i) => option.classList.toggle('active', i === index));
    if (index >= 0) input.setAttribute('aria-activedescendant', options()[index].id);
    else input.removeAttribute('aria-activedescendant');
  };
  const open = (isOpen) => {
    list.hidden = !isOpen;
    input.setAttribute('aria-expanded', String(isOpen));
    button.setAttribute('aria-expanded', String(isOpen));
    show(isOpen ? options().findIndex((o) => o.getAttribute('aria-selected') === 'true') : -1);
  };
  const choose = (index) => {
    if (index >= 0 && !runHandler('teilomat_choose', index)) return;
    open(false);
  };
  button.addEventListener('mousedown', (event) => event.preventDefault());
  button.addEventListener('click', () => {
    input.focus();
    open(list.hidden);
  });
  list.addEventListener('mousedown', (event) => event.preventDefault());
  list.addEventListener('click', (event) => {
    const option = event.target.closest('[role=option]');
    if (option) choose(options().indexOf(option));
  });
  input.addEventListener('blur', () => open(false));
  input.addEventListener('keydown', (event) => {
    if (!canRun()) return;
    const count = options().length;
    if (list.hidden) {
      if (event.key === 'ArrowDown') {
        open(true);
        event.preventDefault();
      }
      return;
    }
    if (event.key === 'ArrowDown' && !event.altKey) show(Math.min(active + 1, count - 1));
    else if (event.key === 'ArrowUp' && !event.altKey) show(Math.max(active - 1, 0));
    else if (event.key === 'Enter') choose(active);
    else if (event.key === 'Escape' || event.key === 'ArrowUp') open(false);
    else return;
    event.preventDefault();
  });
}

addOnPostRun(() => {
  document.querySelectorAll('[role=combobox]').forEach(wireCombobox);
  ready = true;
  // The window answers from here on.
  performance.mark('teilomat-shown');
});
