  // The player's page: the demo's page (above) playing whichever game it is
  // given, with no server of its own. The game comes from the address
  // (?game=URL of a .zip on this site), or is the one packed beside the page
  // (game.zip), or one the player drops on the page or opens (a .zip, or a
  // folder where the browser allows it). It is written into the program's
  // memory file system and the player is started on it; a game that cannot
  // be read is answered by the player's findings, shown in place of the
  // picture.
  (function () {
    const status = document.getElementById("status");
    const open = document.getElementById("open");
    // A game is pictures and text: a larger one is most likely not a game.
    const MOST = 256 << 20;
    // `game` puts the game into the file system and names it, once the
    // player has loaded.
    let ready = false, game = null, started = false;

    Module.noInitialRun = true;
    Module.onRuntimeInitialized = () => { ready = true; start(); };

    function refuse(why) {
      lines.push(why);
      stopped(why, "refused");
    }
    function start() {
      if (!ready || !game || started) {
        return;
      }
      started = true;
      open.hidden = true;
      // A game given to the page is played as it is: nothing to watch here.
      game().then((path) => Module.callMain(["--no-reload", path]), (e) => refuse(String(e.message || e)));
    }
    function ask() {
      status.textContent = "Suelta aquí un juego (.zip o carpeta) / Drop a game here (.zip or folder)";
      document.getElementById("progress").hidden = true;
      open.hidden = false;
      fit();
    }

    // One .zip, from the network or from the player's disk.
    function zip(bytes) {
      if (bytes.byteLength > MOST) {
        return refuse("El juego es demasiado grande / The game is too large (" + bytes.byteLength + " bytes)");
      }
      game = () => {
        Module.FS.writeFile("/game.zip", new Uint8Array(bytes));
        return Promise.resolve("/game.zip");
      };
      start();
    }
    function fetchZip(url) {
      status.textContent = "Cargando… / Loading…";
      return fetch(url).then((reply) => {
        if (!reply.ok) {
          throw new Error(url + ": " + reply.status + " " + reply.statusText);
        }
        return reply.arrayBuffer();
      });
    }

    // A dropped folder, read through the browser's entries: its names are
    // single path parts, so nothing lands outside /game.
    function readFolder(root) {
      let total = 0;
      const walk = (entry, path) => new Promise((done, fail) => {
        if (entry.isFile) {
          entry.file((file) => {
            total += file.size;
            if (total > MOST) {
              return fail(new Error("El juego es demasiado grande / The game is too large"));
            }
            file.arrayBuffer().then((bytes) => {
              Module.FS.writeFile(path, new Uint8Array(bytes));
              done();
            }, fail);
          }, fail);
          return;
        }
        Module.FS.mkdir(path);
        const reader = entry.createReader(), all = [];
        // readEntries gives a folder's entries a batch at a time.
        const more = () => reader.readEntries((batch) => {
          if (batch.length === 0) {
            Promise.all(all.map((e) => walk(e, path + "/" + e.name))).then(done, fail);
          } else {
            all.push(...batch);
            more();
          }
        }, fail);
        more();
      });
      return walk(root, "/game");
    }

    function take(item, file) {
      if (started) {
        return;
      }
      const entry = item && item.webkitGetAsEntry && item.webkitGetAsEntry();
      if (entry && entry.isDirectory) {
        game = () => readFolder(entry).then(() => "/game");
        start();
      } else if (file) {
        file.arrayBuffer().then(zip, (e) => refuse(String(e)));
      }
    }
    app.addEventListener("dragover", (event) => event.preventDefault());
    app.addEventListener("drop", (event) => {
      event.preventDefault();
      const items = event.dataTransfer.items;
      take(items && items[0], event.dataTransfer.files[0]);
    });
    document.getElementById("file").addEventListener("change", (event) => take(null, event.target.files[0]));
    open.addEventListener("click", () => document.getElementById("file").click());

    const named = new URLSearchParams(location.search).get("game");
    if (named !== null) {
      // Only from this site: the page plays what its own host offers.
      const url = new URL(named, location.href);
      if (url.origin !== location.origin) {
        refuse("?game= debe nombrar un .zip de este sitio / ?game= must name a .zip on this site: " + named);
      } else {
        fetchZip(url.href).then(zip, (e) => refuse("No se pudo cargar / Could not load " + e.message));
      }
    } else {
      // The game packed with the page, if it has one.
      fetch("game.zip").then((reply) => reply.ok ? reply.arrayBuffer() : null)
        .then((bytes) => bytes ? zip(bytes) : ask(), ask);
    }
  })();
