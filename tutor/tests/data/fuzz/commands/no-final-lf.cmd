[ExecMenu]
32779