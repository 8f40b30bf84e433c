// The page's wiring: forwards the controls' events to the window (C++),
// opens and closes the raster list, shows messages, ends the page and fits
// it to narrow screens. The controls themselves are made by PageWindow.

// One handler at a time: while one waits for a message to close, the page
// behind the dialog is inert anyway, and nothing else may enter the window.
let handlerRunning = false;

function notify(id) {
  if (handlerRunning) return;
  handlerRunning = true;
  const done = () => { handlerRunning = false; };
  Promise.resolve(Module.ccall('teilomat_notify', null, ['number'], [id], {async: true}))
      .then(done, done);
}

document.addEventListener('click', (event) => {
  const target = event.target.closest('[data-notify]');
  if (!target) return;
  if (target.dataset.notify === 'click') notify(Number(target.dataset.id));
  if (target.dataset.notify === 'menu') Module._teilomat_end();
});
document.addEventListener('change', (event) => {
  if (event.target.dataset.notify === 'change') notify(Number(event.target.dataset.id));
});
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
    open(false);
    if (index >= 0) Module._teilomat_choose(index);
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

// A screen narrower than the form scales it down to fit, in proportion.
let formWidth = 0;  // the form's own width, measured before any scaling
function fitToWidth() {
  const width = document.documentElement.clientWidth;
  document.documentElement.style.setProperty('--fit', String(Math.min(1, width / formWidth)));
}

addOnPostRun(() => {
  formWidth = document.getElementById('window').offsetWidth;
  fitToWidth();
  addEventListener('resize', fitToWidth);
  document.querySelectorAll('[role=combobox]').forEach(wireCombobox);
  // The first results are on screen once the frame after start-up is painted.
  requestAnimationFrame(() => setTimeout(() => performance.mark('teilomat-shown')));
});
