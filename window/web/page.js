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
const byId = (id) => document.getElementById(id);

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
  const item = byId('mnuFile');  // gone once the page has ended
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
byId('message').addEventListener('mousedown', (event) => {
  if (!event.target.closest('button')) event.preventDefault();
});

// Shows the message dialog and resolves once it is closed (OK, Enter or
// Escape). The page behind it is inert while it is open.
function showMessage(critical, caption, text) {
  const dialog = byId('message');
  dialog.classList.toggle('critical', critical);
  // The icon's meaning opens the dialog's description, for a screen reader.
  byId('message-severity').textContent = critical ? 'Fehler' : 'Warnung';
  byId('message-caption').textContent = caption;
  byId('message-text').textContent = text;
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
  byId('window').replaceWith(line);
  again.focus();
}

// The raster list, as the ARIA combobox pattern has it: the button or
// Alt+Down (or Down) opens it, Up and Down move through it, Enter or a click
// chooses, Escape or leaving the field closes it. Typed text chooses nothing.
function wireCombobox(input) {
  const list = byId(input.getAttribute('aria-controls'));
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

// The channel-list view ("#kanalliste"): a list and its settings go to the
// plan command in the WebAssembly (planTable, planFile in PlanView.cpp); the
// view shows the table and the problems it returns and offers its files. The
// view is made from its template when first opened, so the form's start
// costs nothing for it. The list never leaves the page.
const listView = {
  built: false,
  plan: null,         // the plan command, once the WebAssembly runs
  starting: null,     // the promise of it
  source: null,       // the list: a file's bytes, or the text typed
  name: 'kanalliste', // the files' name: the list's own without ".csv"
  openedHere: false,  // the link opened the view: Back returns to the form
  refused: '',        // why the file chosen was not taken
};

// A number as typed in the browser's language; the command takes "." or ",".
function listNumber(id) {
  // (No destructuring here: this Emscripten's minifier loses its names.)
  const decimal = pageSeparators.decimal;
  const text = byId(id).value;
  return decimal === '.' || decimal === ',' ? text : text.replaceAll(decimal, '.');
}

function listSettings() {
  return {zf: listNumber('list-zf'), txZf: listNumber('list-txzf'), raster: byId('list-raster').value,
    cp: byId('list-cp').checked, am: byId('list-am').checked, round: byId('list-round').checked,
    name: byId('list-name').value, base: byId('list-base').value, rxOnly: byId('list-rxonly').checked};
}

// The table's columns, each defined here once: its heading, the side it
// belongs to and how its cell is taken from a channel of the plan's JSON
// document. Numbers are shown with the browser's decimal separator, as in
// the form; a deviation of 0 Hz and a side that is not there stay empty.
const sideCell = (key, get) => (channel) => (channel[key] ? get(channel[key]) : '');
const LIST_COLUMNS = [
  {head: 'Kanal', cell: (channel) => channel.channel},
  {head: 'Name', cell: (channel) => channel.name},
  {head: 'RX (MHz)', cell: (channel) => channel.rx.mhz},
  {head: 'TX (MHz)', cell: sideCell('tx', (side) => side.mhz)},
  ...['RX', 'TX'].flatMap((group) => {
    const key = group.toLowerCase();
    return [
      {group, head: 'N', cell: sideCell(key, (side) => side.n)},
      ...[0, 1, 2].map((i) => ({group, head: `DB${i}`, cell: sideCell(key, (side) => side.db[i])})),
      {group, head: 'Abweichung (Hz)', cell: sideCell(key, (side) => (side.diff_hz === 0 ? '' : side.diff_hz))},
    ];
  }),
];
const shownCell = (value) => (typeof value === 'number' ? String(value).replace('.', pageSeparators.decimal) : value);

// The table's head from the columns: a column of its own spans both rows, a
// side's columns stand under its name.
function buildListHead() {
  const table = byId('list-table');
  const rows = [document.createElement('tr'), document.createElement('tr')];
  LIST_COLUMNS.forEach((column, i) => {
    const cell = document.createElement('th');
    cell.scope = 'col';
    cell.textContent = column.head;
    if (!column.group) {
      cell.rowSpan = 2;
      rows[0].append(cell);
      table.querySelector('colgroup').span = i + 1;
      return;
    }
    if (LIST_COLUMNS[i - 1].group !== column.group) {
      const group = document.createElement('th');
      group.scope = 'colgroup';
      group.textContent = column.group;
      group.colSpan = LIST_COLUMNS.filter((other) => other.group === column.group).length;
      rows[0].append(group);
      const columns = document.createElement('colgroup');
      columns.span = group.colSpan;
      table.querySelector('thead').before(columns);
    }
    rows[1].append(cell);
  });
  table.querySelector('thead').replaceChildren(...rows);
}

// The table, the problems (announced once for each change of their text) and
// the downloads, which wait for a list without problems. A long table is
// shown a page at a time: thousands of rows take seconds to lay out.
const ROWS_AT_ONCE = 500;
let table = {channels: [], shown: 0};

// The plan command, once the page's WebAssembly runs (it starts after the
// form's first paint, the view's code with it); rejected where it cannot.
function planModule() {
  listView.starting ??= new Promise((resolve, reject) => {
    if (ready) resolve(Module);
    addOnPostRun(() => resolve(Module));
    startFailed.push(reject);
  }).then((plan) => {
    listView.plan = plan;
    return plan;
  });
  return listView.starting;
}

function updateList() {
  if (!listView.plan || !listView.built) return;
  const plan = listView.source === null ? {problems: listView.refused, kind: 'file', clean: false, plan: ''}
                                        : listView.plan.planTable(listView.source, listSettings());
  const problems = byId('list-problems');
  const text = plan.problems.trimEnd();
  if (problems.textContent !== text) problems.textContent = text;
  problems.dataset.kind = plan.kind;
  document.querySelectorAll('#list-view [data-format]').forEach((button) => {
    button.disabled = !plan.clean;
  });
  table = {channels: plan.plan ? JSON.parse(plan.plan).channels : [], shown: 0};
  document.querySelector('#list-table tbody').replaceChildren();
  showMoreRows();
}

// The next page of the table's rows, and what the caption and the button
// "more" say.
function showMoreRows() {
  const rows = document.createDocumentFragment();
  const end = Math.min(table.channels.length, table.shown + ROWS_AT_ONCE);
  for (let i = table.shown; i < end; i++) {
    const row = document.createElement('tr');
    LIST_COLUMNS.forEach((column, j) => {
      const cell = document.createElement(j === 0 ? 'th' : 'td');
      if (j === 0) cell.scope = 'row';
      cell.textContent = shownCell(column.cell(table.channels[i]));
      row.append(cell);
    });
    rows.append(row);
  }
  document.querySelector('#list-table tbody').append(rows);
  table.shown = end;
  const count = table.channels.length;
  const shown = end < count ? `, ${end} gezeigt` : '';
  byId('list-caption').textContent = `Plan: ${count} ${count === 1 ? 'Kanal' : 'Kanäle'}${shown}`;
  const more = byId('list-more');
  more.hidden = end >= count;
  more.textContent = `Weitere ${Math.min(ROWS_AT_ONCE, count - end)} Kanäle zeigen`;
}

function useListFile(file) {
  if (!file) return;
  planModule().then((plan) => {
    // A file the command would not read is not taken in at all.
    listView.refused = plan.listSizeProblem(file.name, file.size);
    if (listView.refused) {
      listView.source = null;
      updateList();
      return;
    }
    file.arrayBuffer().then((bytes) => {
      listView.source = new Uint8Array(bytes);
      listView.name = file.name.replace(/\.csv$/i, '') || 'kanalliste';
      updateList();
    });
  }, () => {});  // the view says why it cannot
}

// A file of the plan, made when asked for and handed to the browser as a
// download (a blob: URL is navigation, which the page's policy allows).
// A sketch's name as the Arduino IDE takes it: ASCII letters, digits, "_",
// "-" and "." (not first), at most 63 characters; anything else becomes "_".
const sketchName = (name) => name.replace(/[^A-Za-z0-9_.-]/g, '_').replace(/^[.-]/, '_').slice(0, 63);

function downloadPlan(button) {
  const format = button.dataset.format;
  const fileName = (format === 'arduino' ? sketchName(listView.name) : listView.name) + button.dataset.suffix;
  const bytes = listView.plan.planFile(listView.source, listSettings(), format, fileName);
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([bytes], {type: 'application/octet-stream'}));
  link.download = fileName;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
}

function buildListView() {
  const view = byId('list-template').content.firstElementChild.cloneNode(true);
  view.hidden = true;
  byId('list-link').after(view);
  buildListHead();
  view.querySelectorAll('[data-number]').forEach((input) => {
    input.value = input.dataset.number.replace('.', pageSeparators.decimal);
  });
  byId('list-file').addEventListener('change', (event) => useListFile(event.target.files[0]));
  byId('list-text').addEventListener('input', (event) => {
    listView.source = event.target.value === '' ? null : event.target.value;
    listView.refused = '';
    listView.name = 'kanalliste';
    updateList();
  });
  byId('list-settings').addEventListener('change', updateList);
  view.querySelectorAll('input[type=text]').forEach((input) => input.addEventListener('input', updateList));
  view.querySelector('.downloads').addEventListener('click', (event) => {
    const button = event.target.closest('[data-format]');
    if (button && !button.disabled) downloadPlan(button);
  });
  view.addEventListener('dragover', (event) => {
    event.preventDefault();
    view.classList.add('dropping');
  });
  view.addEventListener('dragleave', () => view.classList.remove('dropping'));
  view.addEventListener('drop', (event) => {
    event.preventDefault();
    view.classList.remove('dropping');
    useListFile(event.dataTransfer.files[0]);
  });
  byId('list-more').addEventListener('click', showMoreRows);
  byId('list-back').addEventListener('click', (event) => {
    event.preventDefault();
    if (listView.openedHere) {
      history.back();
    } else {
      history.pushState(null, '', location.pathname + location.search);
      showListView();
    }
  });
  listView.built = true;
  planModule().then(updateList, () => {
    byId('list-problems').textContent =
        'Kanallisten rechnet Teilomat hier nicht um, denn der Browser führt kein WebAssembly aus.';
  });
}

// The view in the form's place while the address ends in "#kanalliste".
function showListView() {
  const open = location.hash === '#kanalliste';
  if (!listView.built) {
    if (!open) return;
    buildListView();
  }
  const form = byId('window');  // gone once the page has ended
  if (form) form.hidden = open;
  byId('list-link').hidden = open;
  byId('list-view').hidden = !open;
  if (open) {
    byId('list-title').focus();
  } else {
    listView.openedHere = false;
    byId('list-link').firstElementChild.focus();
  }
}
byId('list-link').addEventListener('click', () => { listView.openedHere = true; });
addEventListener('hashchange', showListView);
showListView();

addOnPostRun(() => {
  document.querySelectorAll('[role=combobox]').forEach(wireCombobox);
  ready = true;
  // The window answers from here on.
  performance.mark('teilomat-shown');
});
